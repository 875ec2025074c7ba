// The MIDI keyboards, as the window sees them: sources to choose from and notes as signals on the
// user-interface thread. The devices themselves live in the module klavidor_midi.so, loaded in the
// background, so the program starts without ALSA, JACK or RtMidi.
#pragma once

#include "input/MidiGeraete.h"

#include <QObject>
#include <QStringList>
#include <bitset>
#include <memory>
#include <unordered_map>

class QSocketNotifier;

class MidiEingang : public QObject
{
    Q_OBJECT
public:
    // `modul`: the module's path; empty = look beside the program and in its lib folder.
    explicit MidiEingang(QObject* parent = nullptr, QString modul = {});
    ~MidiEingang() override;

    // Loads the module off this thread; from then on sources are looked for about every second.
    void starten();

    // The choice of sources: all present and future ones, none, or one by its name.
    void waehleAlle();
    void waehleKeine();
    void waehleQuelle(const QString& name);

    // Names of the sources present now (no ALSA numbers, bridged duplicates, "Midi Through").
    QStringList quellen() const { return m_quellen; }
    // Whether an ALSA sequencer or a JACK server answers.
    bool systemDa() const { return m_systemDa; }

signals:
    void quellenGeaendert();
    void noteAn(int note, int anschlag);
    void noteAus(int note);
    void pedal(int wert);
    void allesAus();

private:
    void uebernehmen();
    void waehle(MidiGeraete::Wahl wahl, const QString& name);
    void abholen();
    void verarbeite(const MidiEreignis& e);
    void loslassen(std::uint32_t quelle);
    void pedalLoesen(std::uint32_t quelle);

    // What a source holds down: its notes and its pedal's last value.
    struct Gehalten
    {
        std::bitset<128> noten;
        int pedal = 0;
    };

    struct Laden; // shared with the loading thread, which may outlive this object
    QString m_modul;
    std::shared_ptr<Laden> m_laden;
    std::unique_ptr<MidiGeraete> m_geraete;
    QSocketNotifier* m_wecker = nullptr;
    MidiGeraete::Wahl m_wahl = MidiGeraete::Wahl::Alle; // kept until the module is there
    QString m_name;
    QStringList m_quellen;
    bool m_systemDa = false;
    std::unordered_map<std::uint32_t, Gehalten> m_gehalten; // per source
};
