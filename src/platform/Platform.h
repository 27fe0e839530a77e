#pragma once

class Beep;
class Clock;
class Entropy;
class FileDialog;
class MediaPlayer;
class MessageBox;
class Printer;
class ProcessLauncher;
class Progress;
class ScreenReader;
class SerialPort;
class SettingsStore;

// The services the window reaches the system through, passed in by main() or by a test; the window hands each of
// its controllers only those it uses.
struct Platform
{
    SettingsStore& settings;
    Beep& beep;
    MediaPlayer& player;
    SerialPort& serial;
    FileDialog& fileDialog;
    Printer& printer;
    ProcessLauncher& launcher;
    MessageBox& messages;
    Clock& clock;
    Progress& progress;
    SettingsStore& conditionsSettings; // the band conditions' own group
    SettingsStore& training;           // the group "entrainement": the training options
    Entropy& entropy;
    ScreenReader& screenReader;
};
