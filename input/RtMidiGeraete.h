// The MIDI devices through RtMidi, both Linux back ends: the ALSA sequencer and JACK. A thread of
// its own opens the chosen sources and lets go of vanished ones. It looks at once when JACK or the
// ALSA sequencer's announce port tells of a port that comes or goes (RtMidi has no notification),
// and about every second besides; the devices' threads only put events into a lock-free queue.
#pragma once

#include "input/MidiGeraete.h"
#include "input/MidiSchlange.h"
#include "input/Quellnamen.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class RtMidiIn;
struct OffenerPort;
struct JackWache;
struct AlsaWache;

// Wakes a waiting thread through a file descriptor, once per batch of news.
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
    bool verloren() override;

    // From a device thread.
    void einreihen(const MidiEreignis& ereignis);

private:
    using Uhr = std::chrono::steady_clock;
    // A port whose opening failed (a JACK client not yet active, say): tried again after a pause
    // that grows, so a client that never activates costs no busy loop.
    struct Fehlversuch
    {
        MidiPort port;
        Uhr::time_point wieder;
        Uhr::duration pause;
    };

    void waechter();
    void warten();
    void schauen();
    bool alsaPruefen(std::vector<MidiPort>& ports);
    bool jackPruefen(std::vector<MidiPort>& ports);
    bool abgerissen(const OffenerPort& offen) const;
    void abgleichen(const std::vector<MidiQuelle>& quellen);
    void schliessen(std::size_t index);
    void oeffnen(const MidiPort& port);
    bool verbinden(OffenerPort& offen, unsigned index);
    void fehlgeschlagen(const MidiPort& port);
    void veroeffentlichen(const std::vector<MidiQuelle>& quellen, bool da);

    MidiSchlange<MidiEreignis> m_schlange;
    Wecker m_wecker;
    std::atomic<bool> m_verloren{false};

    Wecker m_weckruf; // wakes the watcher: a new choice, the end, a port that came or went
    std::mutex m_mutex; // guards the choice and the stop request
    bool m_ende = false;
    Wahl m_wahl = Wahl::Alle;
    QString m_name;

    mutable std::mutex m_standMutex; // guards what the consumer reads of the last look
    QStringList m_quellen;
    bool m_systemDa = false;

    // The watcher thread's own.
    std::unique_ptr<RtMidiIn> m_alsaListe;
    std::unique_ptr<AlsaWache> m_alsaWache;
    std::unique_ptr<JackWache> m_jack;
    std::vector<std::unique_ptr<OffenerPort>> m_offen;
    std::vector<Fehlversuch> m_fehlversuche;
    std::uint32_t m_naechsteQuelle = 1;

    std::thread m_thread; // last: starts once everything else exists
};
