#include "app/Mischer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr size_t Hoechste_Klaenge = 32;          // fading voices beyond this are dropped, oldest first
constexpr float Hoerbar = 1.0f / 32768;           // one step of the 16-bit output
constexpr int64_t Rueckweg = Mischer::Rate / 10;  // how far back the stream may go: beyond any buffer

bool gehalten(int griff, int rest) { return griff > 0 && rest < 0; }

} // namespace

Mischer::Mischer()
{
    m_stimmen.reserve(Hoechste_Klaenge + 1);
}

void Mischer::befiehl(Befehl befehl)
{
    {
        std::lock_guard sperre(m_sperre);
        m_befehle.push_back(std::move(befehl));
    }
    if (m_wecker)
        m_wecker();
}

void Mischer::klick(Klang klang)
{
    befiehl({std::move(klang), 1, 0});
}

int Mischer::halte(Klang klang, double lautstaerke)
{
    int griff;
    {
        std::lock_guard sperre(m_sperre);
        griff = ++m_naechster;
    }
    befiehl({std::move(klang), float(std::clamp(lautstaerke, 0.0, 1.0)), griff});
    return griff;
}

void Mischer::loese(int stimme)
{
    if (stimme > 0)
        befiehl({nullptr, 0, stimme});
}

// Starts a fade over `ms`, unless the voice already fades at least as fast.
static void blendeAus(int& rest, int& gesamt, double ms)
{
    const int frames = std::max(1, int(Mischer::Rate * ms / 1000));
    if (rest < 0 || rest > frames)
        gesamt = rest = frames;
}

void Mischer::fuehreAus(const Befehl& b)
{
    const auto zaehlt = [](const Stimme& s) { return gehalten(s.griff, s.rest); };
    if (b.griff == 0) {
        for (Stimme& s : m_stimmen)
            if (s.griff == 0)
                blendeAus(s.rest, s.gesamt, Schnitt_ms); // even when the new click has no sound
    } else if (!b.klang) {
        for (Stimme& s : m_stimmen)
            if (s.griff == b.griff)
                blendeAus(s.rest, s.gesamt, Loslassen_ms);
    } else if (std::count_if(m_stimmen.begin(), m_stimmen.end(), zaehlt) >= Hoechste_Stimmen) {
        Stimme& aelteste = *std::find_if(m_stimmen.begin(), m_stimmen.end(), zaehlt);
        blendeAus(aelteste.rest, aelteste.gesamt, Loslassen_ms);
    }
    if (!b.klang)
        return;
    if (m_stimmen.size() >= Hoechste_Klaenge)
        m_stimmen.erase(m_stimmen.begin());
    m_stimmen.push_back({b.klang, 0, b.lautstaerke, -1, 1, b.griff});
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

void Mischer::mischeStimmen(int frames)
{
    m_summe.assign(size_t(frames) * Kanaele, 0.0f);
    std::erase_if(m_stimmen, [&](Stimme& s) { return !s.mischeIn(m_summe.data(), frames); });
    m_position += frames;
}

void Mischer::mische(int16_t* aus, int frames)
{
    {
        std::lock_guard sperre(m_sperre);
        for (const Befehl& b : m_befehle)
            fuehreAus(b);
        m_befehle.clear();
        while (!m_staende.empty() && m_staende.front().position < m_position - Rueckweg)
            m_staende.pop_front();
        m_staende.push_back({m_position, m_stimmen});
        mischeStimmen(frames);
    }
    float spitze = 0;
    for (size_t i = 0; i < m_summe.size(); ++i) {
        const float v = std::clamp(m_summe[i], -1.0f, 1.0f);
        spitze = std::max(spitze, std::abs(v));
        aus[i] = int16_t(std::lrint(std::min(v * 32768.0f, 32767.0f)));
    }
    m_klingt.store(spitze >= Hoerbar, std::memory_order_relaxed);
}

int64_t Mischer::position() const
{
    std::lock_guard sperre(m_sperre);
    return m_position;
}

int64_t Mischer::zurueck(int64_t ziel)
{
    std::lock_guard sperre(m_sperre);
    auto stand = std::find_if(m_staende.rbegin(), m_staende.rend(), [&](const Stand& s) { return s.position <= ziel; });
    if (ziel >= m_position || stand == m_staende.rend())
        return m_position;
    m_stimmen = stand->stimmen;
    m_position = stand->position;
    m_staende.erase(stand.base(), m_staende.end()); // what came after is mixed anew
    mischeStimmen(int(ziel - m_position));           // up to the target as before, unheard
    return m_position;
}
