#include "kern/Tastenlage.h"

namespace Eingang {

bool darfDruecken(const Tastenlage& lage, int k)
{
    return k >= 0 && k < Noten::Tastenzahl && lage.frei.test(k) && !lage.modalOffen;
}

bool darfKlingen(const Tastenlage& lage, int k) { return darfDruecken(lage, k) && !lage.tonAus; }

Tastenlage Tastenstand::lage() const
{
    const std::uint64_t w = m_wort.load(std::memory_order_acquire);
    return {std::bitset<Noten::Tastenzahl>(w & (TonAusBit - 1)), bool(w & TonAusBit), bool(w & ModalBit)};
}

void Tastenstand::setzeFrei(int k, bool frei)
{
    if (k >= 0 && k < Noten::Tastenzahl)
        setze(std::uint64_t(1) << k, frei);
}

void Tastenstand::setzeTonAus(bool aus) { setze(TonAusBit, aus); }

void Tastenstand::setzeModalOffen(bool offen) { setze(ModalBit, offen); }

void Tastenstand::setze(std::uint64_t bits, bool an)
{
    if (an)
        m_wort.fetch_or(bits, std::memory_order_release);
    else
        m_wort.fetch_and(~bits, std::memory_order_release);
}

} // namespace Eingang
