#pragma once
// The settings file's content: the text format of registry export files ("REGEDIT4", key lines
// "[HKEY_CURRENT_USER\Software\...]", values "Name"="Text" and "Name"=dword:0000000a). Key and
// value names compare without letter case. A line the parser does not understand is kept as it
// stands and written back unchanged.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

struct RegWert {
  enum class Typ { Text, Zahl, Anderer };
  Typ typ = Typ::Text;
  QString text;
  qint32 zahl = 0;
};

class RegDatei {
 public:
  static RegDatei parsen(const QByteArray& bytes);
  QByteArray text() const;

  // Schluessel is the full key path with its root name ("HKEY_CURRENT_USER\Software\...").
  std::optional<RegWert> wert(const QString& schluessel, const QString& name) const;
  void setzen(const QString& schluessel, const QString& name, const RegWert& wert);
  // Removes a value; a key left without any line of its own goes too. False when there was none.
  bool entfernen(const QString& schluessel, const QString& name);

  static QString rootName(quint32 wurzel);
  // Trailing and doubled separators dropped: "A\B\" is the key "A\B".
  static QString schluesselNormal(const QString& schluessel);

 private:
  struct Zeile {
    QByteArray bytes;     // the line as read (line break removed) or as it will be written
    QString roh;          // its text
    QString schluessel;   // key line: normalised key, lower case
    QString name;         // value line: value name, lower case (empty for the default value)
    QString nameSchreibung;  // the value name as spelt in the file
    bool istSchluessel = false;
    bool istWert = false;
    RegWert wert;
  };
  static Zeile zeileParsen(const QString& roh);
  static Zeile neueZeile(const QString& text);
  static QString wertZeile(const QString& name, const RegWert& wert);

  std::vector<Zeile> m_zeilen;
};
