// The send flow of the report windows against a real FTP server on 127.0.0.1: the question,
// the outcome boxes, and a stalled transfer cancelled from the progress window while the
// GUI thread keeps running.

#include "records/DlgUpload.h"
#include "records/SendRecording.h"
#include "tests/common/FtpTestServer.h"

#include "Screenshot.h"
#include "TestRuntime.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>

using namespace ftptest;

namespace {

constexpr char kRecording[] = "Kim_20240131_093005.ppg";

QString Text(int number) {
    return GetMessageText(number);
}

} // namespace

class SendRecordingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void outcomes_data();
    void outcomes();
    void cancelStalledTransfer();

private:
    // Writes the operator's settings file in the test's config folder ("" removes it).
    void WriteSettings(const std::string& text) {
        const fs::path file = m_configRoot / "tondrela" / "upload.conf";
        fs::create_directories(file.parent_path());
        if (text.empty())
            fs::remove(file);
        else
            std::ofstream(file) << text;
    }
    QString WriteRecording(const std::string& name, std::size_t size) {
        const fs::path path = m_root / "work" / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << std::string(size, '\x5a');
        return QString::fromStdString(path.string());
    }

    QTemporaryDir m_dir;
    fs::path m_root;
    fs::path m_configRoot;
    std::unique_ptr<PlainFtpServer> m_server;
};

void SendRecordingTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_root = m_dir.path().toStdString();
    m_configRoot = m_root / "config";
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(m_configRoot.string()));
    UseLanguage(1); // Korean: the question and every outcome have their texts
    m_server = std::make_unique<PlainFtpServer>(m_root / "server");
    QVERIFY(m_server->Running());
}

void SendRecordingTest::outcomes_data() {
    QTest::addColumn<QString>("settings"); // "server", "silent" (nothing listening) or ""
    QTest::addColumn<bool>("makeFolder");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<int>("outcome"); // message number; 0: none; 40017: the path first

    QTest::newRow("stored") << "server" << true << true << 40017;
    QTest::newRow("remote folder missing") << "server" << false << true << 40016;
    QTest::newRow("nothing listening") << "silent" << true << true << 40008;
    QTest::newRow("settings gone") << "" << true << true << 40008;
    QTest::newRow("answered No") << "server" << true << false << 0;
}

void SendRecordingTest::outcomes() {
    QFETCH(QString, settings);
    QFETCH(bool, makeFolder);
    QFETCH(bool, answerYes);
    QFETCH(int, outcome);

    fs::remove_all(m_server->LoginFolder());
    fs::create_directories(m_server->LoginFolder());
    const fs::path remote = makeFolder ? m_server->MakeRemoteFolder() : fs::path();
    WriteSettings(settings == QLatin1String("server") ? m_server->Settings()
                  : settings == QLatin1String("silent")
                      ? "server = 127.0.0.1\nport = " + std::to_string(FreePort()) +
                            "\nuser = u\npassword = p\n"
                      : std::string());
    const QString path = WriteRecording(kRecording, 3000);

    MessageCatcher catcher;
    catcher.answer = answerYes ? QMessageBox::Yes : QMessageBox::No;
    QWidget window;
    SendRecording(&window, path);

    QStringList expected = {Text(40009)};
    if (outcome == 40017)
        expected << path + QLatin1Char('\n') + Text(40017);
    else if (outcome != 0)
        expected << Text(outcome);
    QCOMPARE(catcher.messages, expected);
    QCOMPARE(fs::exists(remote / kRecording), outcome == 40017);
}

void SendRecordingTest::cancelStalledTransfer() {
    PlainFtpServer stalling(m_root / "stalling", 64 * 1024);
    QVERIFY(stalling.Running());
    stalling.MakeRemoteFolder();
    WriteSettings(stalling.Settings("mode = passive\n"));
    const QString path = WriteRecording("Kim_20240131_100000.ppg", 16 * 1024 * 1024);

    // A timer of the GUI thread: it counts its ticks while the transfer runs, and once the
    // bytes have stopped moving for a second it presses Cancel.
    int ticks = 0;
    int ticksWhileStalled = 0;
    std::int64_t lastSent = -1;
    QElapsedTimer still;
    QElapsedTimer sinceCancel;
    int barAtCancel = -1;
    QTimer timer;
    timer.setInterval(50);
    connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        auto* dialog = qobject_cast<CDlgUpload*>(QApplication::activeModalWidget());
        if (!dialog || sinceCancel.isValid())
            return;
        if (dialog->SentBytes() != lastSent || lastSent <= 0) {
            lastSent = dialog->SentBytes();
            still.start();
            return;
        }
        ++ticksWhileStalled;
        if (still.elapsed() >= 1000) {
            SaveScreenshot(dialog, QStringLiteral("upload_progress_stalled"));
            barAtCancel = dialog->ProgressBar()->value();
            sinceCancel.start();
            QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        }
    });
    timer.start();

    MessageCatcher catcher;
    catcher.answer = QMessageBox::Yes;
    QWidget window;
    QElapsedTimer total;
    total.start();
    SendRecording(&window, path);
    timer.stop();

    QVERIFY(sinceCancel.isValid());
    QVERIFY2(sinceCancel.elapsed() < 2500, qPrintable(QString::number(sinceCancel.elapsed())));
    QVERIFY(total.elapsed() < 15000);
    QVERIFY2(ticksWhileStalled >= 15, qPrintable(QString::number(ticksWhileStalled)));
    QVERIFY(lastSent > 0 && lastSent < 16 * 1024 * 1024);
    QVERIFY(barAtCancel > 0 && barAtCancel < 100);
    QCOMPARE(catcher.messages, QStringList({Text(40009), Text(40016)}));
}

QTEST_MAIN(SendRecordingTest)
#include "SendRecording_concurrency_gui_test.moc"
