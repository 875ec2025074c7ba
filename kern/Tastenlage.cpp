#include "kern/Tastenlage.h"

namespace Eingang {

Tasten alleTasten() { return Tasten().set(); }

Tasten weisseTasten()
{
    Tasten t;
    for (int k = 0; k < Noten::Tastenzahl; ++k)
        t[k] = !Noten::istSchwarz(k);
    return t;
}

Tasten tastenDer(const Tonarten::Tonart& tonart)
{
    // The white keys of each note of the signature give way to the black keys beside them, in
    // every octave.
    Tasten t = weisseTasten();
    for (const Tonarten::Ersatz& e : tonart.schrittfolge()) {
        for (int k = e.weiss; k < Noten::Tastenzahl; k += 12)
            t[k] = false;
        for (int k = e.schwarz; k < Noten::Tastenzahl; k += 12)
            t[k] = true;
    }
    return t;
}

bool darfDruecken(const Tastenlage& lage, int k)
{
    return k >= 0 && k < Noten::Tastenzahl && lage.frei.test(k) && !lage.modalOffen;
}

bool darfKlingen(const Tastenlage& lage, int k) { return darfDruecken(lage, k) && !lage.tonAus; }

Tastenlage Tastenstand::lage() const
{
    const std::uint64_t w = m_wort.load(std::memory_order_acquire);
    return {Tasten(w & (TonAusBit - 1)), bool(w & TonAusBit), bool(w & ModalBit), bool(w & LernBit)};
}

void Tastenstand::setzeFreie(Tasten frei)
{
    // One exchange, so no reader ever sees half of the change.
    std::uint64_t alt = m_wort.load(std::memory_order_relaxed);
    while (!m_wort.compare_exchange_weak(alt, (alt & ~(TonAusBit - 1)) | frei.to_ullong(), std::memory_order_release,
                                         std::memory_order_relaxed)) {
    }
}

void Tastenstand::setzeTonAus(bool aus) { setze(TonAusBit, aus); }

void Tastenstand::setzeModalOffen(bool offen) { setze(ModalBit, offen); }

void Tastenstand::setzeLernen(bool lernen) { setze(LernBit, lernen); }

void Tastenstand::setze(std::uint64_t bits, bool an)
{
    if (an)
        m_wort.fetch_or(bits, std::memory_order_release);
    else
        m_wort.fetch_and(~bits, std::memory_order_release);
}

} // namespace Eingang
