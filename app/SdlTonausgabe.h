// The real sound output: decodes wave files with SDL and mixes them itself. It plays through
// its own PulseAudio stream where a PulseAudio server answers (a few milliseconds from click to
// sound) and through SDL's audio device everywhere else.
#pragma once

#include "app/Mischer.h"
#include "app/Tonausgabe.h"

#include <QDateTime>
#include <QHash>
#include <memory>

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

    bool geraetOffen() const { return m_pulse || m_geraet != 0; }
    // What plays the sound: "pulseaudio-direkt", or the name of SDL's driver.
    QByteArray treiber() const;

private:
    struct Klang
    {
        qint64 groesse;
        QDateTime geaendert;
        Mischer::Klang samples;
    };
    Mischer::Klang lade(const QString& pfad);
    bool oeffneSdl();

    Mischer m_mischer;
    std::unique_ptr<PulseStrom> m_pulse;
    quint32 m_geraet = 0; // SDL's audio device, 0 = none
    QHash<QString, Klang> m_klaenge;
};
