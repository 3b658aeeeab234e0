#include "Hilfefenster.h"

#include "Formular.h"
#include "Module1.h"
#include "Zustand.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace {

// Text that says the help file or topic is missing.
constexpr int TextHilfeFehlt = 3008;

}  // namespace

Hilfefenster::Hilfefenster() {
  setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  m_hinweis = new QLabel(this);
  m_hinweis->setObjectName(QStringLiteral("lblHinweis"));
  m_hinweis->setWordWrap(true);
  m_hinweis->setStyleSheet(QStringLiteral("QLabel { background: #fff8dc; padding: 6px; }"));
  m_hinweis->hide();
  layout->addWidget(m_hinweis);
  m_browser = new QTextBrowser(this);
  m_browser->setObjectName(QStringLiteral("txtHilfe"));
  m_browser->setOpenLinks(true);
  m_browser->setOpenExternalLinks(true);
  layout->addWidget(m_browser);
  resize(640, 560);
}

bool Hilfefenster::dateiLaden(const QString& datei) {
  if (datei == m_datei && !m_quelltext.isEmpty())
    return true;
  QFile f(datei);
  if (!f.open(QIODevice::ReadOnly)) {
    m_datei.clear();
    m_quelltext.clear();
    m_browser->clear();
    return false;
  }
  m_quelltext = QString::fromUtf8(f.readAll());
  m_datei = datei;
  m_browser->setSource(QUrl::fromLocalFile(datei));
  return true;
}

void Hilfefenster::zeigen(int kontext) {
  const QString datei = zustand().Hilfedatei;
  const bool dateiDa = dateiLaden(datei);
  const QRegularExpression anker(
      QStringLiteral(R"(<a\s[^>]*\b(?:id|name)\s*=\s*["']?%1["'\s>])").arg(kontext),
      QRegularExpression::CaseInsensitiveOption);
  m_gefunden = dateiDa && m_quelltext.contains(anker);
  m_hinweis->setVisible(!m_gefunden);
  if (!m_gefunden)
    m_hinweis->setText(Text(TextHilfeFehlt));
  const QString titel = m_browser->documentTitle();
  setWindowTitle(titel.isEmpty() ? Text(842) : titel);
  if (!m_platziert) {
    TippfensterPlatzLassen(this);
    m_platziert = true;
  }
  // Help asked for in a modal dialog belongs to that dialog while it runs; otherwise the dialog
  // would block it: no scrolling, no closing, no coming to the front.
  winId();
  windowHandle()->setTransientParent(QGuiApplication::modalWindow());
  nachVorneHolen(this);
  // Scrolled once shown, so that the browser knows its height.
  layout()->activate();
  if (m_gefunden)
    m_browser->scrollToAnchor(QString::number(kontext));
  else
    m_browser->verticalScrollBar()->setValue(0);
}
