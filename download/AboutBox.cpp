#include "AboutBox.h"

#include "ui_AboutBox.h"

#include <QFont>

namespace {

// Arial where the machine has it, otherwise the nearest sans-serif face.
QFont arial(qreal punkte, bool fett) {
  QFont schrift(QStringLiteral("Arial"));
  schrift.setStyleHint(QFont::SansSerif);
  schrift.setPointSizeF(punkte);
  schrift.setBold(fett);
  return schrift;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::AboutBox>()) {
  ui->setupUi(this);
  setFixedSize(size());
  ui->Picture1->setPixmap(logo());
  ui->Label1->setFont(arial(9.75, true));
  ui->Label2->setFont(arial(9, true));
  ui->Label3->setFont(arial(8.25, false));
  ui->Label5->setFont(arial(8.25, false));
  connect(ui->Command1, &QPushButton::clicked, this, &QDialog::accept);
}

AboutBox::~AboutBox() = default;

QPixmap AboutBox::logo() {
  return QPixmap(QStringLiteral(":/download/downloader-logo.png"));
}
