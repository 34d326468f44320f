#pragma once
// Serves a CSimDrive on a pseudo-terminal, so the program (or a test) talks to it exactly as to a
// serial port: open DevicePath() (or the virtual-port link) with termios raw mode, write requests,
// read answers. A thread reads the line, cuts it into requests (fixed lengths of the maker
// commands, Modbus RTU by function code, Modbus ASCII by CR LF, anything else by a pause on the
// line), answers each through the drive and paces the answer by the drive's wire time. A slow
// answer (the Slow fault) goes out piece by piece over its time, and the thread reads no request
// meanwhile, so what the client sends queues behind it as on a busy line.
//
//     CSimDrive drive(4);
//     CSimPtyServer server(drive);
//     std::string error;
//     if (!server.Start({.name = "ttySIM0"}, &error)) ...
//     int fd = open(server.DevicePath().c_str(), O_RDWR | O_NOCTTY);  // then cfmakeraw
//
// Virtual port: with registerVirtualPort set, "<temporary folder>/ports/<name>" becomes a symbolic
// link to the pty slave and "<name>.description" holds the description; both are removed by Stop().
// A DropLink fault (or Unplug()) closes the pty, so the client sees a hang-up, and removes the
// link; after `replugDelay` (or on Replug()) a new pty is made and registered under the same name.
#include "sim/SimDrive.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

struct SimPtyOptions {
    std::string name = "ttySIM0";
    std::string description = "KeloServo simulated drive (USB Serial)";
    bool registerVirtualPort = true;
    int wireBaud = 0; // > 0: sets the drive's wire baud (answers paced at 10 bit times a character)
    std::chrono::milliseconds replugDelay{500}; // after a dropped link; negative: wait for Replug()
    std::chrono::milliseconds interByteGap{50}; // a pause this long ends an unknown or partial request
};

class CSimPtyServer {
public:
    explicit CSimPtyServer(CSimDrive& drive);
    ~CSimPtyServer(); // Stop()
    CSimPtyServer(const CSimPtyServer&) = delete;
    CSimPtyServer& operator=(const CSimPtyServer&) = delete;

    // Creates the pty, registers the virtual port when asked, starts the serving thread.
    // False with a reason in *error when the pty or the registration cannot be made.
    bool Start(const SimPtyOptions& options, std::string* error = nullptr);
    // Stops the thread, closes the pty, removes the link and the description. Idempotent.
    void Stop();
    bool IsRunning() const;

    // Current pty slave ("/dev/pts/N"); changes after a replug; empty while unplugged.
    std::string DevicePath() const;
    // The port name (options.name).
    std::string PortName() const;
    // "<temporary folder>/ports/<name>", empty when not registered.
    std::string VirtualPortPath() const;

    // Simulated cable: Unplug() closes the pty and removes the link; Replug() makes a new one.
    void Unplug();
    void Replug();
    bool IsPlugged() const;
    int PlugGeneration() const; // raised by every (re)plug; 1 after Start

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
