#include "CategoriesFormulare.h"

#include "frmKategorie.h"
#include "frmVerschieben.h"

void categoriesFormulareAnmelden() {
  Formulare::anmelden<frmKategorie>();
  Formulare::anmelden<frmVerschieben>();
}
