#pragma once
// A list of small pictures, each with a Tag. The menu engine gives an item the first picture whose
// Tag starts its caption (see GetImageIndex); pictures without a Tag are never chosen.

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QString>

class Bildliste : public QObject {
  Q_OBJECT

 public:
  explicit Bildliste(QObject* parent = nullptr);

  // Appends a picture; returns its position (0-based).
  int hinzufuegen(const QPixmap& bild, const QString& tag = {});
  // Appends the picture of a file; false (and nothing appended) when it cannot be read.
  bool laden(const QString& datei, const QString& tag);
  void leeren();

  int anzahl() const { return static_cast<int>(m_bilder.size()); }
  // Position 0 .. anzahl() - 1; a null picture or empty Tag outside.
  QPixmap bild(int position) const;
  QString tag(int position) const;

 private:
  struct Eintrag {
    QPixmap bild;
    QString tag;
  };
  QList<Eintrag> m_bilder;
};
