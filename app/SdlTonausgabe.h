// Sound output through SDL2_mixer (audio only).
#pragma once

#include "app/Tonausgabe.h"

#include <QDateTime>
#include <QHash>

struct Mix_Chunk;

class SdlTonausgabe : public Tonausgabe
{
public:
    SdlTonausgabe();
    ~SdlTonausgabe() override;
    SdlTonausgabe(const SdlTonausgabe&) = delete;
    SdlTonausgabe& operator=(const SdlTonausgabe&) = delete;

    // Starts the file at once and cuts off the sound still playing; a file that is missing or
    // cannot be decoded is silent.
    void spiele(const QString& pfad) override;

    bool geraetOffen() const { return m_offen; }

    // The fade of a cut-off channel, counted in frames.
    struct Ausblendung
    {
        int rest = 0, gesamt = 1;
    };

private:
    struct Klang
    {
        qint64 groesse;
        QDateTime geaendert;
        Mix_Chunk* chunk;
    };
    Mix_Chunk* lade(const QString& pfad);

    bool m_offen = false;
    static constexpr int Kanaele = 2; // the new sound on one, the old one fading out on the other
    int m_kanal = 0;
    Ausblendung m_ausblendung[Kanaele];
    QHash<QString, Klang> m_klaenge;
};
