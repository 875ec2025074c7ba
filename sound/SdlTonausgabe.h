// The real sound output: decodes wave files with SDL and mixes them itself. It plays through its
// own PipeWire stream where a PipeWire server answers, through its own PulseAudio stream where a
// PulseAudio server does (a few milliseconds from click to sound each), and through SDL's audio
// device everywhere else; KLAVIDOR_AUSGABE=pipewire|pulse|sdl names the first one to try. Every
// sound is brought once to the rate of the output that plays. A thread of its own watches the output:
// a server or device that goes is looked for again, the next output takes over meanwhile, and no
// command ever waits for it.
#pragma once

#include "sound/Mischer.h"
#include "sound/Tonausgabe.h"

#include <QByteArray>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

class PulseStrom;
class PwStrom;

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
    void setzeKlangAn(bool an) override;
    void merkeKlaenge(const QStringList& pfade) override;
    int halteGemerkt(int nummer, double lautstaerke) override { return m_mischer.halteGemerkt(nummer, lautstaerke); }
    void loeseGemerkt(int stimme) override { m_mischer.loeseGemerkt(stimme); }
    // Decodes them now, on the calling thread, into the cache the plays use.
    void vorladen(const QStringList& pfade) override;

    bool geraetOffen() const { return !treiber().isEmpty(); }
    // What plays the sound now: "pipewire", "pulseaudio-direkt", or the name of SDL's driver;
    // empty = nothing.
    QByteArray treiber() const;
    // The rate the sounds are mixed at: the playing output's.
    int rate() const { return m_mischer.rate(); }
    // The samples `pfad` plays with, at rate(); nullptr if it cannot be played.
    Mischer::Klang lade(const QString& pfad);

private:
    struct Klang
    {
        qint64 groesse;
        QDateTime geaendert;
        Mischer::Klang datei; // as decoded, at the file's rate; only where that is `rate`
        int dateiRate;
        Mischer::Klang samples; // at `rate`
        int rate;
    };
    Mischer::Klang gespeichert(const QString& pfad, const QFileInfo& info);
    void passeKlaengeAn();

    // The watcher's side: only the watching thread (and the constructor and destructor, while it
    // does not run) opens and closes outputs, so only one output ever mixes.
    void wache();
    void pruefe();
    void oeffneAusgabe();
    bool oeffneNativ();
    bool uebernimmPw(std::unique_ptr<PwStrom> strom);
    bool uebernimm(std::unique_ptr<PulseStrom> strom);
    void wechsleRate(int rate);
    bool oeffneSdl(const char* treiber);
    void schliesse();
    void setzeTreiber(const QByteArray& treiber);

    Mischer m_mischer;
    const bool m_pwErlaubt;     // our own PipeWire stream
    const bool m_direktErlaubt; // our own PulseAudio stream, unless SDL was told which driver to use
    std::unique_ptr<PwStrom> m_pw;
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
    bool m_klangAn = true, m_klangGemeldet = true; // what the window said; what the stream was told
    std::thread m_waechter;

    // Only between the callers and the watcher, never held while decoding or resampling.
    std::mutex m_klangSperre;
    QHash<QString, Klang> m_klaenge;
    QStringList m_gemerkt;
};
