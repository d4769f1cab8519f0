#pragma once

#include <QIODevice>

// A device with room for so many bytes, as a disk that fills up: the write that reaches the end is cut short with no
// error, and every later one fails with the system's reason.
class FailDevice : public QIODevice {
public:
    explicit FailDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char*, qint64 size) override {
        if (room_ == 0)
            setErrorString(QStringLiteral("No space left on device"));
        const qint64 taken = room_ == 0 ? -1 : qMin(size, room_);
        room_ -= qMax<qint64>(taken, 0);
        return taken;
    }

private:
    qint64 room_;
};
