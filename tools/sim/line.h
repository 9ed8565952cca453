#pragma once

#include "controller.h"
#include "eventqueue.h"
#include "framereader.h"
#include "statefile.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class QTimer;

namespace kv::sim {

class FrameLog;
class PtyPort;
class Wire;

// One serial line: its pseudo-terminal, the wire between it and the PC, the
// controllers hanging on it, and the events they still have to deliver.
class Line : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint8_t Broadcast = 0x80;
    static constexpr std::uint8_t DefaultPcAddress = 129;

    struct Stats {
        quint64 framesIn = 0;      // good frames from the PC, ours or not
        quint64 framesOut = 0;     // frames put on the wire, lost ones included
        quint64 acksIn = 0;
        quint64 badFrames = 0;
        quint64 garbageBytes = 0;
        quint64 lostFrames = 0;    // went out while the PC's port was closed
        quint64 acksDropped = 0;   // ACKs from the PC ignored by the dropack fault
    };

    Line(const QString &name, FrameLog *log, const StateFile &state, QObject *parent = nullptr);
    ~Line() override;

    // Creates the pseudo-terminal and reads the state file.
    bool open(QString *error);
    QString name() const { return m_name; }
    QString slavePath() const;

    Controller *controller(int address) const;
    // In address order, 1..31 then 170.
    QList<Controller *> controllers() const;
    // nullptr when the address is taken.
    Controller *add(int address);
    bool remove(int address);
    // Call after any change the state file keeps; the save is gathered up briefly.
    void changed();
    bool saveNow(QString *error);

    void pushEvent(int address, const QByteArray &data);
    int eventsPending() const { return m_events->pending(); }

    void setPaced(bool on);
    bool paced() const;
    int resendMs() const { return m_events->retryMs(); }
    void setResendMs(int ms) { m_events->setRetryMs(ms); }
    // The next n ACKs from the PC are taken as lost on the line; -1 every
    // one until set to 0 again.
    void dropAcks(int n) { m_dropAcks = n; }
    int acksToDrop() const { return m_dropAcks; }
    const Stats &stats() const { return m_stats; }

private:
    void onArrived(const QByteArray &bytes);
    void onFrame(const LineItem &frame);
    Controller *answerer(std::uint8_t to) const;
    void answer(const Controller &c, const LineItem &request, Controller::Reply reply);
    void transmit(const QByteArray &bytes, const QString &meaning, std::function<void(bool)> done = {});
    void sendEvent(const EventQueue::Event &e, std::function<void(bool)> done);
    QJsonObject snapshot() const;

    QString m_name;
    FrameLog *m_log;
    StateFile m_state;
    PtyPort *m_port;
    Wire *m_wire;
    EventQueue *m_events;
    QTimer *m_saveTimer;
    FrameReader m_reader;
    std::map<int, std::unique_ptr<Controller>> m_controllers;
    std::uint8_t m_pcAddress = DefaultPcAddress;
    int m_dropAcks = 0;
    Stats m_stats;
};

} // namespace kv::sim
