#pragma once
// The start and end sounds of a test, "../wav/start.wav" and "../wav/end.wav" beside the
// program. A sound is played without waiting for it and never cuts a sound that is still
// playing: while one of the two plays, a request is dropped. A missing or unreadable file
// plays nothing.
// Threads: GUI thread only.

#include <QObject>
#include <QSoundEffect>

class CTestSounds : public QObject {
    Q_OBJECT
public:
    enum class Sound { Start, End };

    explicit CTestSounds(QObject* parent = nullptr);

    // Plays the sound unless one is playing; false when the request was dropped.
    bool Play(Sound sound);
    bool Playing() const;

private:
    QSoundEffect m_start;
    QSoundEffect m_end;
};
