#pragma once

class SettingsStore;
class Beep;
class MediaPlayer;
class SerialPort;
class FileDialog;
class Printer;
class ProcessLauncher;
class MessageBox;

// The services the window reaches the system through, passed in by main() or by a test.
struct Platform
{
    SettingsStore* settings = nullptr;
    Beep* beep = nullptr;
    MediaPlayer* player = nullptr; // when it is also a QWidget, the window places it as MMControl1
    SerialPort* serial = nullptr;
    FileDialog* fileDialog = nullptr;
    Printer* printer = nullptr;
    ProcessLauncher* launcher = nullptr;
    MessageBox* messages = nullptr;
};
