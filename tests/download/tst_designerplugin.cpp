// The designer plugin of the Downloader as Qt Designer loads it: its description and the widget it
// makes. Without Qt's designer development files no plugin is built, and the test is skipped with
// that reason.

#include "Downloader.h"
#include "TestMain.h"

#ifdef DESIGNER_PLUGIN
#include <QPluginLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

class TestDesignerPlugin : public QObject {
  Q_OBJECT

 private slots:
  void laedtUndErzeugtDasWidget() {
#ifdef DESIGNER_PLUGIN
    QPluginLoader lader(QStringLiteral(DESIGNER_PLUGIN));
    QObject* instanz = lader.instance();
    QVERIFY2(instanz, qPrintable(lader.errorString()));
    auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(instanz);
    QVERIFY(plugin);
    QCOMPARE(plugin->name(), QStringLiteral("Downloader"));
    QCOMPARE(plugin->includeFile(), QStringLiteral("Downloader.h"));
    QVERIFY(!plugin->isContainer());
    QVERIFY(plugin->domXml().contains(QLatin1String("class=\"Downloader\"")));
    QVERIFY(plugin->domXml().contains(QLatin1String("<width>137</width>")));
    QVERIFY(plugin->domXml().contains(QLatin1String("<height>47</height>")));
    QWidget form;
    QWidget* widget = plugin->createWidget(&form);
    QVERIFY(qobject_cast<Downloader*>(widget));
    widget->resize(400, 400);
    QCOMPARE(widget->size(), QSize(137, 47));
#else
    QSKIP("Kein Designer-Plugin gebaut: CMake fand die Designer-Entwicklungsdateien von Qt nicht "
          "(Pakete qt6-tools-dev und libqt6opengl6-dev, siehe scripts/pakete.sh)");
#endif
  }
};

VELMARK_TEST_MAIN(TestDesignerPlugin)
#include "tst_designerplugin.moc"
