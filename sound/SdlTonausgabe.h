// The real sound output: decodes wave files with SDL and mixes them itself. It plays through
// its own PulseAudio stream where a PulseAudio server answers (a few milliseconds from click to
// sound) and through SDL's audio device everywhere else. A thread of its own watches the output:
// a server or device that goes is looked for again, the next output takes over meanwhile, and no
// command ever waits for it.
#pragma once

#include "sound/Mischer.h"
#include "sound/Tonausgabe.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class PulseStrom;

class SdlTonausgabe : public Tonausgabe
{
public:
    SdlTonausgabe();
    ~SdlTonausgabe() override;
    SdlTonausgabe(const SdlTonausgabe&) = delete;
    SdlTonausgabe& operator=(const SdlTonausgabe&) = delete;

    // Starts the file at once and cuts off the click sound still playing; a file that is missing
    // or cannot be decoded is silent.
    void spiele(const QString& pfad) override;
    int halteStimme(const QString& pfad, double lautstaerke) override;
    void loeseStimme(int stimme) override;
    bool klingt() const override { return m_mischer.klingt(); }
    // Decodes them now, on the calling thread, into the cache the plays use.
    void vorladen(const QStringList& pfade) override;

    bool geraetOffen() const { return !treiber().isEmpty(); }
    // What plays the sound now: "pulseaudio-direkt", or the name of SDL's driver; empty = nothing.
    QByteArray treiber() const;

private:
    struct Klang
    {
        qint64 groesse;
        QDateTime geaendert;
        Mischer::Klang samples;
    };
    Mischer::Klang lade(const QString& pfad);

    // The watcher's side: only the watching thread (and the constructor and destructor, while it
    // does not run) opens and closes outputs, so only one output ever mixes.
    void wache();
    void pruefe();
    void oeffneAusgabe();
    bool uebernimm(std::unique_ptr<PulseStrom> strom);
    bool oeffneSdl(const char* treiber);
    void schliesse();
    void setzeTreiber(const QByteArray& treiber);

    Mischer m_mischer;
    const bool m_direktErlaubt; // our own PulseAudio stream, unless SDL was told which driver to use
    std::unique_ptr<PulseStrom> m_pulse;
    quint32 m_geraet = 0;          // SDL's audio device, 0 = none
    bool m_notbehelf = false;      // SDL's dummy driver, since no other opened
    bool m_geraetVerloren = false; // an SDL device went away: it may come back
    std::chrono::steady_clock::time_point m_naechsteSuche{};

    mutable std::mutex m_treiberSperre;
    QByteArray m_treiber;

    std::mutex m_wachSperre;
    std::condition_variable m_wachRuf;
    bool m_ende = false;
    std::thread m_waechter;

    QHash<QString, Klang> m_klaenge;
};
