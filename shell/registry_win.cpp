// Settings store on Windows: the registry itself, HKEY_CURRENT_USER.

#include "Registry.h"
#include "Werte.h"

#include <windows.h>

namespace Registry {

QString dateipfad() { return {}; }

Sperre::Sperre() = default;
Sperre::~Sperre() = default;

}  // namespace Registry

namespace {

HKEY wurzelHandle(quint32 wurzel) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(wurzel))); }

}  // namespace

QVariant RegistryLesen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(wurzelHandle(Wurzel), reinterpret_cast<LPCWSTR>(Schluessel.utf16()), 0,
                    KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
    return {};
  QVariant ergebnis;
  DWORD typ = 0;
  DWORD groesse = 0;
  const auto name = reinterpret_cast<LPCWSTR>(Wertname.utf16());
  if (RegQueryValueExW(key, name, nullptr, &typ, nullptr, &groesse) == ERROR_SUCCESS) {
    if (typ == REG_SZ) {
      QByteArray puffer(static_cast<int>(groesse) + 2, '\0');
      if (RegQueryValueExW(key, name, nullptr, &typ, reinterpret_cast<LPBYTE>(puffer.data()),
                           &groesse) == ERROR_SUCCESS)
        ergebnis = QString::fromWCharArray(reinterpret_cast<const wchar_t*>(puffer.constData()));
    } else if (typ == REG_DWORD) {
      DWORD zahl = 0;
      groesse = sizeof zahl;
      if (RegQueryValueExW(key, name, nullptr, &typ, reinterpret_cast<LPBYTE>(&zahl),
                           &groesse) == ERROR_SUCCESS)
        ergebnis = QVariant::fromValue<qint32>(static_cast<qint32>(zahl));
    }
  }
  RegCloseKey(key);
  return ergebnis;
}

qint32 RegistrySchreiben(quint32 Wurzel, const QString& Schluessel, const QString& Wertname,
                         const QVariant& Wert, const QVariant& AlsText) {
  const bool alsText = AlsText.typeId() != QMetaType::Bool || AlsText.toBool();
  if (!alsText && Wert.typeId() != QMetaType::Int && Wert.typeId() != QMetaType::Short)
    return -1;
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(wurzelHandle(Wurzel), reinterpret_cast<LPCWSTR>(Schluessel.utf16()),
                                0, nullptr, 0, KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, &key,
                                nullptr);
  if (status != ERROR_SUCCESS)
    return status;
  const auto name = reinterpret_cast<LPCWSTR>(Wertname.utf16());
  if (alsText) {
    const QString text = Werte::alsText(Wert);
    status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.utf16()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  } else {
    const DWORD zahl = static_cast<DWORD>(Wert.toInt());
    status = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zahl),
                            sizeof zahl);
  }
  RegCloseKey(key);
  return status;
}

qint32 RegistryLoeschen(quint32 Wurzel, const QString& Schluessel, const QString& Wertname) {
  HKEY key = nullptr;
  LONG status = RegOpenKeyExW(wurzelHandle(Wurzel), reinterpret_cast<LPCWSTR>(Schluessel.utf16()),
                              0, KEY_SET_VALUE | KEY_QUERY_VALUE, &key);
  if (status == ERROR_FILE_NOT_FOUND)
    return 0;
  if (status != ERROR_SUCCESS)
    return status;
  status = RegDeleteValueW(key, reinterpret_cast<LPCWSTR>(Wertname.utf16()));
  DWORD werte = 0;
  DWORD unterschluessel = 0;
  const bool leer = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &unterschluessel, nullptr,
                                     nullptr, &werte, nullptr, nullptr, nullptr, nullptr) ==
                        ERROR_SUCCESS &&
                    werte == 0 && unterschluessel == 0;
  RegCloseKey(key);
  if (status == ERROR_FILE_NOT_FOUND)
    status = ERROR_SUCCESS;
  if (status == ERROR_SUCCESS && leer)
    RegDeleteKeyW(wurzelHandle(Wurzel), reinterpret_cast<LPCWSTR>(Schluessel.utf16()));
  return status;
}
