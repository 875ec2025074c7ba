// The learner's own instrument in the main window: a MIDI keyboard and an acoustic piano heard by
// the microphone press the keys through the same door as a click. Their menu entries, the chosen
// source remembered for the next start, the sustain pedal, and the next note drawn by itself.
#include "keyboard/Keyboard.h"

#include "input/MidiEingang.h"
#include "input/Mikrofon.h"
#include "input/Mikrofonpruefung.h"
#include "kern/Haupt.h"
#include "kern/Notenmodell.h"
#include "keyboard/Tastatur.h"
#include "learning/Lernfeld.h"
#include "sound/Tonausgabe.h"
#include "sound/mdlSound.h"
#include "views/Notensystem.h"
#include "widgets/Infozeilen.h"
#include "widgets/Menues.h"
#include "widgets/Steuerelemente.h"
#include "widgets/ZentriereForm.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QSettings>
#include <QTimer>

namespace {

constexpr int Hinweis_ms = 2000;

// The remembered choices: "alle", "keine" or a source's name; the automatic next note; the microphone.
constexpr const char* Wahl_Schluessel = "MIDI/Eingang";
constexpr const char* Naechste_Schluessel = "Lernen/NaechsteNoteAutomatisch";
constexpr const char* Mikro_Schluessel = "Mikrofon/an";
constexpr const char* Ruhe_Schluessel = "Mikrofon/Ruhe"; // the room's quiet in dBFS, as last measured
constexpr const char* Pruefen_Name = "mnu_MikrofonPruefen";
constexpr const char* Alle = "alle";
constexpr const char* Keine = "keine";

QSettings einstellungen() { return QSettings("Klavidor", "Klavidor"); }

int tasteVon(int note) { return Noten::tasteFuerMidinote(note); }
bool imUmfang(int note) { return tasteVon(note) >= 0; }

} // namespace

void Keyboard::starteEingaenge(const QString& midiModul, const QString& mikroModul)
{
    if (m_midi)
        return;
    m_midi = new MidiEingang(this, midiModul);
    // The keys sound from the MIDI thread itself, by their number; the window draws them.
    m_ton.merkeKlaenge(Tastenklaenge(m_haupt));
    m_midi->spieleUeber(m_ton, m_tastenstand);
    connect(m_midi, &MidiEingang::noteAn, this, &Keyboard::Midi_NoteAn);
    connect(m_midi, &MidiEingang::noteAus, this, &Keyboard::Midi_NoteAus);
    // In learning mode the pedal asks for the next note, as the quick key does.
    connect(m_midi, &MidiEingang::pedalGetreten, m_lernfeld, &Lernfeld::naechsteFrage);
    connect(m_midi, &MidiEingang::allesAus, this, &Keyboard::Midi_AllesAus);
    connect(m_midi, &MidiEingang::quellenGeaendert, this, &Keyboard::baueMidiMenue);
    const QString wahl = einstellungen().value(Wahl_Schluessel, Alle).toString();
    if (wahl == Keine)
        m_midi->waehleKeine();
    else if (wahl != Alle)
        m_midi->waehleQuelle(wahl);
    m_midi->starten();
    baueMidiMenue();
    starteMikrofon(mikroModul);
}

void Keyboard::starteMikrofon(const QString& mikroModul)
{
    m_mikro = new Mikrofon(this, mikroModul);
    m_mikro->hoereEigenenKlang([this] { return m_ton.klingt(); });
    verbindeMikrofon();
    const QVariant ruhe = einstellungen().value(Ruhe_Schluessel);
    if (ruhe.isValid())
        m_mikro->setzeStille(ruhe.toDouble());
    mnu_Mikrofon->setEnabled(true);
    findChild<QAction*>(Pruefen_Name)->setEnabled(true);
    if (einstellungen().value(Mikro_Schluessel, false).toBool())
        mnu_Mikrofon->trigger();
}

void Keyboard::verbindeMikrofon()
{
    connect(m_mikro, &Mikrofon::noteGehoert, this, &Keyboard::Mikrofon_Note);
    connect(m_mikro, &Mikrofon::noteAusserhalb, this,
            [this] { m_info->hinweisFuer(Noten::Ausserhalb_Hinweis, Hinweis_ms); });
    connect(m_mikro, &Mikrofon::hoertZu, this, [this] {
        if (!mnu_Mikrofon->isChecked())
            return; // only the check listens
        m_system->zeigePegel(true);
        m_info->hinweis("Das Mikrofon hört zu.");
    });
    const auto aus = [this](const char* hinweis) {
        mnu_Mikrofon->setChecked(false);
        einstellungen().setValue(Mikro_Schluessel, false);
        m_system->zeigePegel(false);
        m_mikro->ausschalten();
        m_info->hinweis(hinweis);
    };
    connect(m_mikro, &Mikrofon::keinMikrofon, this, [aus] { aus("Kein Mikrofon gefunden."); });
    connect(m_mikro, &Mikrofon::getrennt, this, [aus] { aus("Das Mikrofon wurde getrennt."); });
    connect(m_mikro, &Mikrofon::pegel, m_system, [this](double wert) { m_system->setzePegel(wert); });
}

void Keyboard::fuelleEingabeMenue(QMenu* optionen)
{
    mnu_MIDIEingang = neuesMenue(optionen, "mnu_MIDIEingang", "MIDI-Eingang");
    QAction* naechste = neuerEintrag(optionen, "mnu_NaechsteNote", "Nächste Note automatisch ja/nein", {}, this, {});
    naechste->setCheckable(true);
    connect(naechste, &QAction::toggled, this, [this](bool an) {
        einstellungen().setValue(Naechste_Schluessel, an);
        m_lernfeld->setzeAutomatisch(an);
    });
    naechste->setChecked(einstellungen().value(Naechste_Schluessel, false).toBool());
    mnu_Mikrofon = neuerEintrag(optionen, "mnu_Mikrofon", "Mikrofon ja/nein", QKeySequence("F9"), this,
                                [this] { mnu_Mikrofon_Click(); });
    mnu_Mikrofon->setCheckable(true);
    mnu_Mikrofon->setEnabled(false); // until the inputs are started
    QAction* pruefen = neuerEintrag(optionen, Pruefen_Name, "Mikrofon prüfen …", {}, this, [this] {
        Mikrofonpruefung fenster(*m_mikro, this);
        connect(&fenster, &Mikrofonpruefung::ruheGemessen, this,
                [](double dB) { einstellungen().setValue(Ruhe_Schluessel, dB); });
        fenster.setWindowModality(Qt::ApplicationModal);
        Zeige_aktiv(fenster);
        fenster.exec();
    });
    pruefen->setEnabled(false);
    baueMidiMenue();
}

void Keyboard::baueMidiMenue()
{
    // clear() deletes the entries but not their group, which would pile up with each rebuild.
    mnu_MIDIEingang->clear();
    qDeleteAll(mnu_MIDIEingang->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly));
    if (!m_midi || !m_midi->systemDa()) {
        QAction* a = mnu_MIDIEingang->addAction("Kein MIDI-System gefunden");
        a->setObjectName("mnu_MIDIKeinSystem");
        a->setEnabled(false);
        return;
    }
    const QString wahl = einstellungen().value(Wahl_Schluessel, Alle).toString();
    auto* gruppe = new QActionGroup(mnu_MIDIEingang);
    const auto eintrag = [&](const QString& name, const QString& text, const QString& wert) {
        QAction* a = neuerEintrag(mnu_MIDIEingang, name, text, {}, this, [this, wert] {
            einstellungen().setValue(Wahl_Schluessel, wert);
            if (wert == Alle)
                m_midi->waehleAlle();
            else if (wert == Keine)
                m_midi->waehleKeine();
            else
                m_midi->waehleQuelle(wert);
        });
        a->setCheckable(true);
        a->setChecked(wert == wahl);
        gruppe->addAction(a);
    };
    eintrag("mnu_MIDIAlle", "Alle Eingänge", Alle);
    QStringList quellen = m_midi->quellen();
    if (wahl != Alle && wahl != Keine && !quellen.contains(wahl))
        quellen.append(wahl); // remembered but not plugged in: stays chosen, taken when it comes
    for (int i = 0; i < quellen.size(); ++i)
        eintrag(arrayName("mnu_MIDIQuelle", i), quellen[i], quellen[i]);
    eintrag("mnu_MIDIKein", "Kein MIDI-Eingang", Keine);
}

void Keyboard::Midi_NoteAn(int note, int anschlag)
{
    (void)anschlag; // it has sounded already, at its touch
    if (!imUmfang(note)) {
        m_info->hinweisFuer(Noten::Ausserhalb_Hinweis, Hinweis_ms);
        return;
    }
    const int k = tasteVon(note);
    if (!Taste_frei(k))
        return;
    m_tastatur->setzeGedrueckt(k, true);
    Taste_Eingabe(k, Herkunft::Midi);
}

void Keyboard::Midi_NoteAus(int note)
{
    if (imUmfang(note))
        m_tastatur->setzeGedrueckt(tasteVon(note), false);
}

void Keyboard::Midi_AllesAus()
{
    for (int k = 0; k < Noten::Tastenzahl; ++k)
        m_tastatur->setzeGedrueckt(k, false);
}

void Keyboard::Mikrofon_Note(int note)
{
    if (imUmfang(note))
        Taste_Eingabe(tasteVon(note), Herkunft::Mikrofon);
}

bool Keyboard::Mikrofon_erwarte(int k)
{
    if (!m_mikro)
        return false;
    m_mikro->erwarte(k >= 0 ? Noten::Midinote_Taste0 + k : -1);
    return m_mikro->an();
}

void Keyboard::mnu_Mikrofon_Click()
{
    einstellungen().setValue(Mikro_Schluessel, mnu_Mikrofon->isChecked());
    if (mnu_Mikrofon->isChecked()) {
        m_mikro->einschalten();
    } else {
        m_mikro->ausschalten();
        m_system->zeigePegel(false);
    }
}
