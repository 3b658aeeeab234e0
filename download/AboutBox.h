#pragma once
// The About box of the Downloader: logo, name, maker, author line and web address.

#include <QDialog>
#include <QPixmap>
#include <memory>

namespace Ui {
class AboutBox;
}

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
  ~AboutBox() override;

  // The logo that Picture1 shows; the Downloader shows the same picture.
  static QPixmap logo();

 private:
  std::unique_ptr<Ui::AboutBox> ui;
};
