#include "Farbwert.h"

#include <QString>

namespace {

std::optional<QColor> ausZahl(qint64 zahl) {
  // Only plain RGB values: the high byte 0x80 marks a system colour, anything else is no colour.
  if (zahl < 0 || zahl > 0xFFFFFF)
    return std::nullopt;
  const auto wert = static_cast<quint32>(zahl);
  return QColor(int(wert & 0xFF), int((wert >> 8) & 0xFF), int((wert >> 16) & 0xFF));
}

}  // namespace

std::optional<QColor> Farbwert(const QVariant& wert) {
  if (!wert.isValid())
    return std::nullopt;
  if (wert.typeId() == QMetaType::Int || wert.typeId() == QMetaType::LongLong ||
      wert.typeId() == QMetaType::UInt)
    return ausZahl(wert.toLongLong());
  QString text = wert.toString().trimmed();
  if (text.isEmpty())
    return std::nullopt;
  bool ok = false;
  qint64 zahl = 0;
  if (text.startsWith(u"&H", Qt::CaseInsensitive)) {
    text = text.mid(2);
    if (text.endsWith(u'&'))
      text.chop(1);
    if (text.isEmpty() || text.size() > 8)
      return std::nullopt;
    zahl = qint64(text.toUInt(&ok, 16));
  } else {
    zahl = text.toLongLong(&ok, 10);
  }
  if (!ok)
    return std::nullopt;
  return ausZahl(zahl);
}
