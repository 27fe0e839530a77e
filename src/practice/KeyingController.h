#pragma once

#include "parameters/PassMark.h"
#include "practice/EchoDrill.h"
#include "practice/KeyboardKeys.h"
#include "practice/KeyingWindow.h"
#include "practice/KeyingWorker.h"
#include "sending/DecodedSign.h"
#include "sending/KeyingSource.h"
#include "sending/TimingAnalysis.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Clock;
class SendingRunRecorder;
class SettingsStore;
class Sidetone;
class SignTable;
class QWidget;
struct SendingRunRecord;

// The sidetone's frequency in Hz and volume, 0 to 1.
struct SidetoneTone
{
    double hz = 0;
    double volume = 0;
};

// How the learner keys: a straight key, or a paddle through the iambic keyer in mode A or B.
enum class KeyingMode : std::uint8_t
{
    StraightKey,
    IambicA,
    IambicB,
};

// Where the key is read beside the keyboard, which always keys while the window has the focus.
enum class KeyingInput : std::uint8_t
{
    Keyboard,   // the keyboard only
    SerialPort, // a key or a paddle on the modem lines of the push-to-talk's port
    Midi,       // a key adapter that presents itself as a MIDI device
    Microphone, // the tone of an oscillator or a sidetone, by the microphone or the line input
};

// What the learner sends: anything, or the exercise text, marked when done.
enum class SendingExercise : std::uint8_t
{
    Free,
    SendExercise,
    Echo, // a character, a group or a call sign played, the learner sends it back
};

// What "Écho" plays: one character of the set, a group of five, or a call sign.
enum class EchoPlays : std::uint8_t
{
    Character,
    Group,
    CallSign,
};

// "Manipulation": the learner keys on the keyboard, the keying is decoded as it comes, drawn element by element
// against the lengths at the learned speed, and marked against the exercise when asked.
class KeyingController : public QObject
{
    Q_OBJECT

public:
    struct Services
    {
        const SignTable& signs;
        Clock& clock;
        SettingsStore* settings;               // the group "manipulation": the input mode; none: kept for the session
        std::function<double()> dotMs;         // the dot at the current speed, for the keyer
        std::function<QString()> exerciseText; // the text the learner is asked to send
        std::function<PassMark()> passMark;
        Sidetone* sidetone = nullptr; // none: silent
        std::function<SidetoneTone()> tone = {};
        std::function<QString(EchoPlays)> echoText = {}; // what "Écho" plays next, drawn afresh
        // Opens an input other than the keyboard, not yet started; none: that input is not available here.
        std::function<std::unique_ptr<KeyingSource>(KeyingInput)> openInput = {};
        // Where each run is recorded when done; none: nothing is recorded.
        SendingRunRecorder* runs = nullptr;
        KeyingThreading decoding = KeyingThreading::OwnThread; // where the keyer and the decoder work
        // Draws the histograms of the window, made with it; none: the window says they cannot be drawn.
        MakeHistograms histograms = {};
    };
    // The window is made the child of `owner` (a tool window that stays over it).
    KeyingController(Services services, QWidget* owner);
    ~KeyingController() override;
    KeyingController(const KeyingController&) = delete;
    KeyingController& operator=(const KeyingController&) = delete;

    void manipulation(); // opens the window
    KeyingWindow* window() const { return m_window; }

    // A key of the keyboard went down or up, now.
    void key(KeyInput input, bool down);
    // The window's timer: the keyer and the decoder follow the time, what they decoded is taken and the window is
    // drawn again, at most 30 times a second.
    void tick();
    void setMode(KeyingMode mode);
    KeyingMode mode() const { return m_mode; }
    // The input beside the keyboard, kept in the settings; one that cannot start is said in the window and the
    // keyboard alone keys.
    void setInput(KeyingInput input);
    KeyingInput input() const { return m_input; }
    // The debounce of a key on the serial port in ms, kept in the settings; the port is opened again with it.
    void setDebounce(int ms);
    void setExercise(SendingExercise exercise);
    // What "Écho" plays and the seconds allowed to answer, kept in the settings.
    void setEchoPlays(EchoPlays plays);
    void setEchoSeconds(int seconds);
    // "Terminé": the exercise marked, the timing of the run shown with its histograms, and the run recorded (once;
    // "Écho" records what was answered since it last recorded).
    void termine();
    // "Effacer": a new run; "Écho" records the one that ends.
    void effacer();

private:
    void startKeyer();
    void startInput();
    void stopInput();
    // An edge of the input beside the keyboard, stamped when it happened.
    void sourceEdge(KeyInput input, bool down, KeyTime time);
    // An edge handed to the keyer and the decoder; a straight key's heard at once.
    void lever(KeyInput input, bool down, KeyTime time);
    KeyTime now() const;
    // The time the keyer and the decoder are brought to: a little behind now while an input stamps its own edges,
    // so that an edge still in the queue is not older than what was decoded.
    KeyTime decodedUntil() const;
    // What the keyer and the decoder did since the last time: the signs kept, the window to be drawn again.
    void takeDecoded();
    // Everything handed to the keyer and the decoder worked through until `time` on the window's thread, and taken:
    // a run's result needs all of it.
    void catchUp(KeyTime time);
    // The key went down or up: the sidetone follows, unless the input is heard otherwise.
    void keyed(bool down);
    void refresh();
    QString timingText() const;
    QString markingText() const;
    // The run recorded when something was keyed (and, for "Écho", answered).
    void recordRun(const TimingReport& report);
    // The run's marking: characters, errors and characters mis-sent; false when there is nothing to record.
    bool markRun(SendingRunRecord& run);
    // The end of an "Écho" run: the window closed, another exercise chosen, or "Effacer".
    void endEchoRun();
    void echoTick(KeyTime now);
    void nextEcho(KeyTime now);
    void showEcho(const QString& verdict, KeyTime now);
    void setTone();

    Services m_services;
    QWidget* m_owner;
    QPointer<KeyingWindow> m_window;
    KeyingMode m_mode;
    KeyingInput m_input;
    std::unique_ptr<KeyingSource> m_source; // started while the window is shown
    SendingExercise m_exercise = SendingExercise::Free;
    EchoPlays m_echoPlays;
    int m_echoSeconds;
    std::unique_ptr<KeyingWorker> m_worker; // made with the window, once the sign table is read
    double m_wordsPerMinute = 0;
    std::vector<DecodedSign> m_signs; // the run's characters and word spaces
    QString m_message;                // the decoder's last message, until the key is used again
    QString m_inputMessage;           // why the input beside the keyboard does not key, until another is chosen
    std::optional<EchoDrill> m_echo;
    KeyTime m_nextEchoAt = -1; // when the next character is played; none: not yet answered
    bool m_changed = false;
    bool m_recorded = false; // the run was recorded at "Terminé": not again until the next one
    qint64 m_drawnMs = -1000;
};

// An element whose length is more than 20 % off the ideal one at the speed learned for its character.
bool ElementIsOff(const MeasuredElement& element, double dotUs);
