#pragma once

#include "common/Result.h"
#include "platform/Printer.h"
#include "platform/SerialPort.h"
#include "platform/Sidetone.h"
#include "platform/Speech.h"

#include <functional>
#include <memory>

// A service made at its first use by `make`; when it cannot be made, the reason stays.
template <typename Service> class MadeOnFirstUse
{
public:
    using Make = std::function<Result<std::unique_ptr<Service>>()>;

    explicit MadeOnFirstUse(Make make) : m_make(std::move(make)) {}

    // The service, made now if it was not; nullptr when it cannot be.
    Service* get()
    {
        if (!m_tried) {
            m_tried = true;
            Result<std::unique_ptr<Service>> made = m_make();
            if (made)
                m_service = std::move(*made);
            else
                m_failure = made.failure();
        }
        return m_service.get();
    }
    // The service if it has been made.
    Service* made() const { return m_service.get(); }
    const QString& failure() const { return m_failure; }

private:
    Make m_make;
    std::unique_ptr<Service> m_service;
    QString m_failure;
    bool m_tried = false;
};

// The sidetone the program holds from its start; the real one is made at the first tone set, when the learner may
// key. Silent when it cannot be made.
class DeferredSidetone : public Sidetone
{
public:
    explicit DeferredSidetone(MadeOnFirstUse<Sidetone>::Make make) : m_sidetone(std::move(make)) {}

    void setTone(double hz, double volume) override
    {
        if (Sidetone* sidetone = m_sidetone.get())
            sidetone->setTone(hz, volume);
    }
    void key(bool down) override
    {
        if (Sidetone* sidetone = m_sidetone.made())
            sidetone->key(down);
    }
    void release() override
    {
        if (Sidetone* sidetone = m_sidetone.made())
            sidetone->release();
    }
    // Until it is made, heard as far as anyone knows.
    bool heard() const override
    {
        const Sidetone* sidetone = m_sidetone.made();
        return sidetone ? sidetone->heard() : m_sidetone.failure().isEmpty();
    }

private:
    MadeOnFirstUse<Sidetone> m_sidetone;
};

// The push-to-talk port the program holds from its start; the real one is made when the port is first opened or
// its devices are asked for. When it cannot be made, opening it fails with the reason.
class DeferredSerialPort : public SerialPort
{
public:
    explicit DeferredSerialPort(MadeOnFirstUse<SerialPort>::Make make) : m_port(std::move(make)) {}

    void setPortNumber(int number) override
    {
        m_number = number;
        if (SerialPort* port = m_port.made())
            port->setPortNumber(number);
    }
    int portNumber() const override { return m_number; }
    QString deviceName(int number) const override
    {
        SerialPort* port = m_port.get();
        return port ? port->deviceName(number) : QString();
    }
    Failure open() override
    {
        SerialPort* port = m_port.get();
        if (!port)
            return m_port.failure();
        port->setPortNumber(m_number);
        return port->open();
    }
    void close() override
    {
        if (SerialPort* port = m_port.made())
            port->close();
    }
    bool isOpen() const override { return m_port.made() && m_port.made()->isOpen(); }
    Failure setRequestToSend(bool raised) override
    {
        SerialPort* port = m_port.made();
        return port ? port->setRequestToSend(raised) : Failure(m_port.failure());
    }

private:
    mutable MadeOnFirstUse<SerialPort> m_port; // the devices' names, asked through a const function, make it
    int m_number = 1;
};

// The printer the program holds from its start, made at the first print.
class DeferredPrinter : public Printer
{
public:
    explicit DeferredPrinter(MadeOnFirstUse<Printer>::Make make) : m_printer(std::move(make)) {}

    Failure printImage(const QImage& image) override
    {
        Printer* printer = m_printer.get();
        return printer ? printer->printImage(image) : Failure(m_printer.failure());
    }

private:
    MadeOnFirstUse<Printer> m_printer;
};

// The voice the program holds from its start, made when a window first looks for it. When it cannot be made, the
// answer is known at once: nothing can be spoken, for that reason.
class DeferredSpeech : public Speech
{
public:
    explicit DeferredSpeech(MadeOnFirstUse<Speech>::Make make) : m_speech(std::move(make)) {}

    void find(const std::function<void()>& known) override
    {
        if (Speech* speech = m_speech.get())
            speech->find(known);
        else
            known();
    }
    bool available() const override { return m_speech.made() && m_speech.made()->available(); }
    QString unavailableReason() const override
    {
        if (const Speech* speech = m_speech.made())
            return speech->unavailableReason();
        return m_speech.failure().isEmpty() ? QStringLiteral("Recherche d'une voix française\u2026")
                                            : m_speech.failure();
    }
    void say(const QString& text) override
    {
        if (Speech* speech = m_speech.made())
            speech->say(text);
    }

private:
    MadeOnFirstUse<Speech> m_speech;
};
