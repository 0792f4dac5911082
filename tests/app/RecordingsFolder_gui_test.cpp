// Where the recordings go: "work" beside bin/ in a portable tree, else the per-user data
// folder, which must be the one Qt's QStandardPaths names for the program.

#include "platform/RecordingsFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

class RecordingsFolderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QCoreApplication::setApplicationName(kApplicationName); }
    void PortableTreeKeepsItsWorkFolder();
    void InstalledTreeUsesThePerUserFolderOfQt_data();
    void InstalledTreeUsesThePerUserFolderOfQt();
};

namespace {
QString Folder(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}
} // namespace

void RecordingsFolderTest::PortableTreeKeepsItsWorkFolder() {
    QTemporaryDir tree;
    QDir(tree.path()).mkpath("bin");
    QDir(tree.path()).mkpath("work");
    QCOMPARE(Folder(RecordingsFolder(tree.filePath("bin").toStdU16String())),
             QDir(tree.filePath("work")).canonicalPath());
}

void RecordingsFolderTest::InstalledTreeUsesThePerUserFolderOfQt_data() {
    QTest::addColumn<QString>("dataHome"); // XDG_DATA_HOME: "" unset, else under the home
    QTest::newRow("XDG_DATA_HOME unset") << QString();
    QTest::newRow("XDG_DATA_HOME set") << QStringLiteral("/data");
}

void RecordingsFolderTest::InstalledTreeUsesThePerUserFolderOfQt() {
    QFETCH(QString, dataHome);
    QTemporaryDir home;
    QTemporaryDir tree; // bin/ without a work folder beside it, as installed
    QDir(tree.path()).mkpath("bin");
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("HOME", home.path().toUtf8());
    if (dataHome.isEmpty())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", (home.path() + dataHome).toUtf8());

    const QString expected =
        QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/work";
    const QString folder = Folder(RecordingsFolder(tree.filePath("bin").toStdU16String()));
    qputenv("HOME", oldHome);
    if (oldDataHome.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", oldDataHome);

    QVERIFY(expected.startsWith(home.path()));
    QCOMPARE(folder, expected);
    QVERIFY(QDir(folder).exists());
}

QTEST_GUILESS_MAIN(RecordingsFolderTest)
#include "RecordingsFolder_gui_test.moc"
