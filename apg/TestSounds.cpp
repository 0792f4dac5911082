#include "apg/TestSounds.h"

#include <QDir>
#include <QUrl>

namespace {
// Relative to the current folder, the program's bin/.
QUrl SoundUrl(const char* file) {
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(QString::fromLatin1(file)));
}
} // namespace

CTestSounds::CTestSounds(QObject* parent) : QObject(parent) {
    m_start.setSource(SoundUrl("../wav/start.wav"));
    m_end.setSource(SoundUrl("../wav/end.wav"));
}

bool CTestSounds::Playing() const {
    return m_start.isPlaying() || m_end.isPlaying();
}

bool CTestSounds::Play(Sound sound) {
    if (Playing())
        return false;
    (sound == Sound::Start ? m_start : m_end).play();
    return true;
}
