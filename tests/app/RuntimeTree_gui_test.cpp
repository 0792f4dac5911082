// The staged runtime tree that the build makes beside the program: the pictures of every
// language folder and the two test sounds.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QtEndian>

#include <cstdint>
#include <cstring>

namespace {

const QString kStage = QStringLiteral(TONDRELA_STAGE_DIR);

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    QList<std::int16_t> samples;
};

bool ReadWav(const QString& path, Wav* wav) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 8) != "WAVEfmt ")
        return false;
    const auto* raw = reinterpret_cast<const uchar*>(bytes.constData());
    if (qFromLittleEndian<quint16>(raw + 20) != 1) // PCM
        return false;
    wav->channels = qFromLittleEndian<quint16>(raw + 22);
    wav->rate = static_cast<int>(qFromLittleEndian<quint32>(raw + 24));
    wav->bits = qFromLittleEndian<quint16>(raw + 34);
    const auto dataBytes = static_cast<int>(qFromLittleEndian<quint32>(raw + 40));
    if (bytes.mid(36, 4) != "data" || dataBytes + 44 > bytes.size())
        return false;
    for (int i = 0; i < dataBytes / 2; ++i)
        wav->samples.append(qFromLittleEndian<qint16>(raw + 44 + 2 * i));
    return true;
}

// Zero crossings per second in [from, to) seconds: twice the dominant frequency.
double CrossingRate(const Wav& wav, double from, double to) {
    const int first = static_cast<int>(from * wav.rate);
    const int last = static_cast<int>(to * wav.rate);
    int crossings = 0;
    for (int i = first + 1; i < last && i < wav.samples.size(); ++i) {
        if ((wav.samples[i - 1] < 0) != (wav.samples[i] < 0))
            ++crossings;
    }
    return crossings / (to - from);
}

} // namespace

class RuntimeTreeTest : public QObject {
    Q_OBJECT
private slots:
    void EveryLanguageFolderHasThePictures();
    void MainPictureCarriesTheTextsOfItsLanguage();
    void FoldersBesideTheProgramExist();
    void StartSoundRisesAndEndSoundFalls();
};

void RuntimeTreeTest::EveryLanguageFolderHasThePictures() {
    const struct {
        const char* file;
        QSize size;
    } pictures[] = {{"main.jpg", {1600, 1000}},
                    {"user.jpg", {520, 560}},
                    {"about.jpg", {580, 200}},
                    {"Review.jpg", {1600, 1000}}};
    for (int language = 1; language <= 4; ++language) {
        for (const auto& picture : pictures) {
            const QString path =
                QString("%1/IMAGE/%2/%3").arg(kStage).arg(language).arg(picture.file);
            const QImage image(path);
            QVERIFY2(!image.isNull(), qPrintable(path));
            QCOMPARE(image.size(), picture.size);
        }
    }
}

void RuntimeTreeTest::MainPictureCarriesTheTextsOfItsLanguage() {
    QImage pictures[5];
    for (int language = 1; language <= 4; ++language)
        pictures[language] = QImage(QString("%1/IMAGE/%2/main.jpg").arg(kStage).arg(language));
    // The cards' captions (y 500 .. 740) differ between every two languages.
    for (int a = 1; a <= 4; ++a) {
        for (int b = a + 1; b <= 4; ++b)
            QVERIFY(pictures[a].copy(300, 500, 1000, 240) != pictures[b].copy(300, 500, 1000, 240));
    }
}

void RuntimeTreeTest::FoldersBesideTheProgramExist() {
    for (const char* folder : {"bin", "work", "HELP/1", "HELP/4", "banner/1", "banner/4", "wav"})
        QVERIFY2(QDir(kStage + "/" + folder).exists(), folder);
}

void RuntimeTreeTest::StartSoundRisesAndEndSoundFalls() {
    Wav start;
    Wav end;
    QVERIFY(ReadWav(kStage + "/wav/start.wav", &start));
    QVERIFY(ReadWav(kStage + "/wav/end.wav", &end));
    for (const Wav* wav : {&start, &end}) {
        QCOMPARE(wav->channels, 1);
        QCOMPARE(wav->bits, 16);
        QCOMPARE(wav->rate, 44100);
        QVERIFY(wav->samples.size() > wav->rate / 2);
        QCOMPARE(wav->samples.last(), std::int16_t(0)); // no click at the end
    }
    // First note alone in 0.02 .. 0.15 s; the second note dominates after 0.3 s.
    QVERIFY(CrossingRate(start, 0.02, 0.15) < CrossingRate(start, 0.3, 0.5));
    QVERIFY(CrossingRate(end, 0.02, 0.15) > CrossingRate(end, 0.3, 0.5));
}

QTEST_MAIN(RuntimeTreeTest)
#include "RuntimeTree_gui_test.moc"
