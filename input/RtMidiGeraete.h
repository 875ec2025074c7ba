// The MIDI devices through RtMidi, both Linux back ends: the ALSA sequencer and JACK. A thread of
// its own looks for sources about every second (RtMidi has no notification), opens the chosen
// ones and lets go of vanished ones; the devices' threads only put events into a lock-free queue.
#pragma once

#include "input/MidiGeraete.h"
#include "input/MidiSchlange.h"
#include "input/Quellnamen.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class RtMidiIn;
struct OffenerPort;
struct JackWache;

// Wakes the consumer through a file descriptor, once per batch of events.
class Wecker
{
public:
    Wecker();
    ~Wecker();
    void wecken(); // any thread, also real-time ones: no lock, one write at most
    void quittieren();
    int deskriptor() const { return m_fd; }

private:
    int m_fd = -1;
    std::atomic<bool> m_gesetzt{false};
};

class RtMidiGeraete final : public MidiGeraete
{
public:
    RtMidiGeraete();
    ~RtMidiGeraete() override;

    void waehle(Wahl wahl, const QString& name) override;
    int weckDeskriptor() const override { return m_wecker.deskriptor(); }
    void geweckt() override;
    bool naechstes(MidiEreignis& ereignis) override;
    QStringList quellen() const override;
    bool systemDa() const override;

    // From a device thread.
    void einreihen(const MidiEreignis& ereignis);

private:
    void waechter();
    void schauen();
    bool alsaPruefen(std::vector<MidiPort>& ports);
    bool jackPruefen(std::vector<MidiPort>& ports);
    void abgleichen(const std::vector<MidiQuelle>& quellen);
    void schliessen(std::size_t index);
    void oeffnen(const MidiPort& port);
    void veroeffentlichen(const std::vector<MidiQuelle>& quellen, bool da);

    MidiSchlange<MidiEreignis> m_schlange;
    Wecker m_wecker;
    std::atomic<unsigned> m_verloren{0};

    std::mutex m_mutex; // guards the choice and the stop request
    std::condition_variable m_bedingung;
    bool m_ende = false;
    bool m_wahlNeu = false;
    Wahl m_wahl = Wahl::Alle;
    QString m_name;

    mutable std::mutex m_standMutex; // guards what the consumer reads of the last look
    QStringList m_quellen;
    bool m_systemDa = false;

    // The watcher thread's own.
    std::unique_ptr<RtMidiIn> m_alsaListe;
    std::unique_ptr<JackWache> m_jack;
    std::vector<std::unique_ptr<OffenerPort>> m_offen;
    std::uint32_t m_naechsteQuelle = 1;

    std::thread m_thread; // last: starts once everything else exists
};
