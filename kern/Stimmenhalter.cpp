#include "kern/Stimmenhalter.h"

#include <utility>

namespace Eingang {

namespace {

bool gueltig(int note) { return note >= 0 && note < Midinoten; }

} // namespace

Freigabe Stimmenhalter::loese(int note)
{
    Freigabe f;
    if (gueltig(note))
        f.dazu(std::exchange(m_stimmen[note], 0));
    return f;
}

Freigabe Stimmenhalter::noteAn(int note)
{
    if (gueltig(note))
        m_nachPedal.reset(note);
    return loese(note);
}

void Stimmenhalter::halte(int note, int stimme)
{
    if (gueltig(note))
        m_stimmen[note] = stimme;
}

Freigabe Stimmenhalter::noteAus(int note, bool lernModus)
{
    if (!gueltig(note))
        return {};
    if (m_pedalUnten && !lernModus) {
        m_nachPedal.set(note);
        return {};
    }
    return loese(note);
}

Stimmenhalter::Pedalschritt Stimmenhalter::pedal(int wert)
{
    Pedalschritt schritt;
    if (wert > Pedal_unten && !m_pedalUnten) {
        m_pedalUnten = true;
        schritt.getreten = true;
    } else if (wert < Pedal_oben && m_pedalUnten) {
        m_pedalUnten = false;
        for (int note = 0; note < Midinoten; ++note)
            if (m_nachPedal.test(note))
                schritt.freigabe.dazu(std::exchange(m_stimmen[note], 0));
        m_nachPedal.reset();
    }
    return schritt;
}

Freigabe Stimmenhalter::allesAus()
{
    Freigabe f;
    for (int& stimme : m_stimmen)
        f.dazu(std::exchange(stimme, 0));
    m_nachPedal.reset();
    return f;
}

} // namespace Eingang
