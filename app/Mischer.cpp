#include "app/Mischer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr size_t Hoechste_Klaenge = 32; // fading voices beyond this are dropped, oldest first
constexpr float Hoerbar = 1.0f / 32768;  // one step of the 16-bit output

} // namespace

Mischer::Mischer()
{
    m_stimmen.reserve(Hoechste_Klaenge + 1);
}

void Mischer::blendeAus(Stimme& s, double ms)
{
    if (s.rest >= 0 && s.rest <= int(Rate * ms / 1000))
        return; // already fading at least as fast
    s.gesamt = s.rest = std::max(1, int(Rate * ms / 1000));
}

void Mischer::klick(Klang klang)
{
    std::lock_guard sperre(m_sperre);
    for (Stimme& s : m_stimmen)
        if (s.griff == 0)
            blendeAus(s, Schnitt_ms);
    if (m_stimmen.size() >= Hoechste_Klaenge)
        m_stimmen.erase(m_stimmen.begin());
    if (klang)
        m_stimmen.push_back({std::move(klang)});
}

int Mischer::halte(Klang klang, double lautstaerke)
{
    std::lock_guard sperre(m_sperre);
    const int griff = ++m_naechster;
    const auto gehalten = [](const Stimme& s) { return s.griff > 0 && s.rest < 0; };
    if (std::count_if(m_stimmen.begin(), m_stimmen.end(), gehalten) >= Hoechste_Stimmen)
        blendeAus(*std::find_if(m_stimmen.begin(), m_stimmen.end(), gehalten), Loslassen_ms);
    if (m_stimmen.size() >= Hoechste_Klaenge)
        m_stimmen.erase(m_stimmen.begin());
    if (klang)
        m_stimmen.push_back({std::move(klang), 0, float(std::clamp(lautstaerke, 0.0, 1.0)), -1, 1, griff});
    return griff;
}

void Mischer::loese(int stimme)
{
    std::lock_guard sperre(m_sperre);
    for (Stimme& s : m_stimmen)
        if (s.griff == stimme && stimme > 0)
            blendeAus(s, Loslassen_ms);
}

// Adds the voice to `summe`; false once it has ended or faded out.
bool Mischer::Stimme::mischeIn(float* summe, int frames)
{
    const std::vector<float>& k = *klang;
    for (int i = 0; i < frames && pos + Kanaele <= k.size(); ++i) {
        if (rest == 0)
            return false;
        float g = lautstaerke;
        if (rest > 0)
            g *= float(rest--) / float(gesamt);
        for (int c = 0; c < Kanaele; ++c)
            summe[Kanaele * i + c] += g * k[pos++];
    }
    return pos + Kanaele <= k.size() && rest != 0;
}

void Mischer::mische(int16_t* aus, int frames)
{
    m_summe.assign(size_t(frames) * Kanaele, 0.0f);
    {
        std::lock_guard sperre(m_sperre);
        std::erase_if(m_stimmen, [&](Stimme& s) { return !s.mischeIn(m_summe.data(), frames); });
    }
    float spitze = 0;
    for (size_t i = 0; i < m_summe.size(); ++i) {
        const float v = std::clamp(m_summe[i], -1.0f, 1.0f);
        spitze = std::max(spitze, std::abs(v));
        aus[i] = int16_t(std::lrint(std::min(v * 32768.0f, 32767.0f)));
    }
    m_klingt.store(spitze >= Hoerbar, std::memory_order_relaxed);
}
