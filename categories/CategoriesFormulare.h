#pragma once

// Makes the category dialogs known by name: frmKategorie, frmVerschieben.
void categoriesFormulareAnmelden();
