#include "input/MidiLeser.h"

namespace {

constexpr std::uint8_t ErsterStatus = 0x80;
constexpr std::uint8_t ErsterSystemStatus = 0xF0;
constexpr std::uint8_t ErsterEchtzeitStatus = 0xF8; // clock, start, active sensing: may come anywhere
constexpr std::uint8_t Zuruecksetzen = 0xFF;        // system reset: back to the state after power-on
constexpr std::uint8_t NoteAusTyp = 0x80, NoteAnTyp = 0x90, ReglerTyp = 0xB0, ProgrammTyp = 0xC0,
                       DruckTyp = 0xD0;
constexpr int SchlagzeugKanal = 9; // channel 10: the drums of arranger keyboards
constexpr std::uint8_t HaltePedal = 64, AlleKlaengeAus = 120, AlleNotenAus = 123;

int datenLaenge(std::uint8_t status)
{
    const std::uint8_t typ = status & 0xF0;
    return typ == ProgrammTyp || typ == DruckTyp ? 1 : 2;
}

} // namespace

void MidiLeser::lies(const std::uint8_t* bytes, std::size_t anzahl, const Ausgabe& aus)
{
    for (std::size_t i = 0; i < anzahl; ++i) {
        const std::uint8_t b = bytes[i];
        if (b == Zuruecksetzen) {
            m_status = 0;
            MidiEreignis e;
            e.art = MidiEreignis::Art::AllesAus;
            aus(e);
            continue;
        }
        if (b >= ErsterEchtzeitStatus)
            continue;
        if (b >= ErsterSystemStatus) {
            // System Exclusive and the common messages end running status; their data is skipped.
            m_status = 0;
        } else if (b >= ErsterStatus) {
            m_status = b;
            m_anzahl = 0;
        } else if (m_status != 0) {
            m_daten[m_anzahl++] = b;
            if (m_anzahl == datenLaenge(m_status)) {
                nachricht(aus);
                m_anzahl = 0;
            }
        }
    }
}

void MidiLeser::nachricht(const Ausgabe& aus) const
{
    if ((m_status & 0x0F) == SchlagzeugKanal)
        return;
    MidiEreignis e;
    const std::uint8_t typ = m_status & 0xF0;
    if (typ == NoteAnTyp || typ == NoteAusTyp) {
        e.nummer = m_daten[0];
        e.wert = m_daten[1];
        e.art = typ == NoteAnTyp && e.wert > 0 ? MidiEreignis::Art::NoteAn : MidiEreignis::Art::NoteAus;
    } else if (typ == ReglerTyp && m_daten[0] == HaltePedal) {
        e.art = MidiEreignis::Art::Pedal;
        e.wert = m_daten[1];
    } else if (typ == ReglerTyp && (m_daten[0] == AlleKlaengeAus || m_daten[0] == AlleNotenAus)) {
        e.art = MidiEreignis::Art::AllesAus;
    } else {
        return;
    }
    aus(e);
}
