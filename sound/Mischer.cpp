#include "sound/Mischer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr int Hoechste_Klaenge = 32;             // beyond this, a voice is cut short to make room
constexpr float Hoerbar = 1.0f / 32768;           // one step of the 16-bit output
// A start that waited this long for an output (none was running) no longer belongs to its key.
constexpr int64_t Verfall_ns = 500'000'000;

int64_t jetzt_ns()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Starts a fade over `n` frames, unless the voice already fades at least as fast. A voice already
// fading goes on from the gain it has reached, so the quicker fade does not jump.
void blendeAus(int& rest, int& gesamt, int n)
{
    if (rest < 0) {
        gesamt = rest = n;
    } else if (rest > n) {
        gesamt = int(int64_t(gesamt) * n / rest);
        rest = n;
    }
}

} // namespace

Mischer::Mischer() = default;
Mischer::~Mischer() = default;

int Mischer::frames(double ms) const { return std::max(1, int(rate() * ms / 1000)); }

void Mischer::setzeRate(int rate)
{
    m_rate.store(rate, std::memory_order_relaxed);
    m_rueckweg = rate / 10;
    m_erholung = 1.0f / float(rate / 10);
}

// ---- The callers' side

void Mischer::setzeWecker(std::function<void()> wecker)
{
    std::lock_guard sperre(m_eingang);
    // The device thread rings it without the lock: it is taken away only while nobody rings.
    m_weckerDa.store(false);
    while (m_weckerNutzer.load() > 0) {
    }
    m_wecker = std::move(wecker);
    m_weckerDa.store(bool(m_wecker));
}

// Rings the wecker from the caller's or the device thread.
void Mischer::wecke()
{
    m_weckerNutzer.fetch_add(1);
    if (m_weckerDa.load())
        m_wecker();
    m_weckerNutzer.fetch_sub(1);
}

bool Mischer::Schlange::schiebe(const Befehl& befehl)
{
    const uint32_t w = geschrieben.load(std::memory_order_relaxed);
    if (w - gelesen.load(std::memory_order_acquire) >= Schlangenlaenge)
        return false; // no output has taken commands for a long time
    befehle[w % Schlangenlaenge] = befehl;
    geschrieben.store(w + 1, std::memory_order_release);
    return true;
}

Mischer::Samples Mischer::behalte(Klang klang)
{
    if (!klang)
        return nullptr;
    if (std::find(m_behalten.begin(), m_behalten.end(), klang) == m_behalten.end())
        m_behalten.push_back(klang);
    return klang.get();
}

void Mischer::befiehl(Klang klang, float lautstaerke, int griff)
{
    std::lock_guard sperre(m_eingang);
    if (m_schlange.schiebe({behalte(std::move(klang)), lautstaerke, griff, jetzt_ns()}))
        wecke();
}

void Mischer::klick(Klang klang)
{
    befiehl(std::move(klang), 1, 0);
}

int Mischer::halte(Klang klang, double lautstaerke)
{
    const int griff = m_naechster.fetch_add(1, std::memory_order_relaxed) + 1;
    befiehl(std::move(klang), float(std::clamp(lautstaerke, 0.0, 1.0)), griff);
    return griff;
}

void Mischer::loese(int stimme)
{
    if (stimme > 0)
        befiehl(nullptr, 0, stimme);
}

void Mischer::merke(int nummer, Klang klang)
{
    if (nummer < 0 || nummer >= Gemerkte)
        return;
    std::lock_guard sperre(m_eingang);
    m_gemerkt[size_t(nummer)].store(behalte(std::move(klang)), std::memory_order_release);
}

int Mischer::halteGemerkt(int nummer, double lautstaerke)
{
    if (nummer < 0 || nummer >= Gemerkte)
        return 0;
    const Samples klang = m_gemerkt[size_t(nummer)].load(std::memory_order_acquire);
    if (!klang)
        return 0;
    const int griff = m_naechster.fetch_add(1, std::memory_order_relaxed) + 1;
    if (m_geraeteSchlange.schiebe({klang, float(std::clamp(lautstaerke, 0.0, 1.0)), griff, jetzt_ns()}))
        wecke();
    return griff;
}

void Mischer::loeseGemerkt(int stimme)
{
    if (stimme > 0 && m_geraeteSchlange.schiebe({nullptr, 0, stimme, jetzt_ns()}))
        wecke();
}

// ---- The audio thread's side

// Takes the commands given since the last call and books them where the stream stands; starts
// given before `seit` (steady clock, ns) are left out.
void Mischer::holeBefehle(int64_t seit)
{
    holeAus(m_schlange, seit);
    holeAus(m_geraeteSchlange, seit);
}

void Mischer::holeAus(Schlange& schlange, int64_t seit)
{
    const uint32_t w = schlange.geschrieben.load(std::memory_order_acquire);
    uint32_t r = schlange.gelesen.load(std::memory_order_relaxed);
    for (; r != w; ++r) {
        const Befehl& b = schlange.befehle[r % Schlangenlaenge];
        if (!b.klang || b.gegeben >= seit)
            bucheEin(b);
    }
    schlange.gelesen.store(r, std::memory_order_release);
}

void Mischer::bucheEin(const Befehl& befehl)
{
    if (m_buchungEnde - m_buchungAnfang == Buchungen) {
        // The oldest booking is forgotten: no point before it may be gone back to any more.
        const int64_t frame = buchung(m_buchungAnfang++).frame;
        m_buchungFaellig = std::max(m_buchungFaellig, m_buchungAnfang);
        while (m_standAnfang < m_standEnde && stand(m_standAnfang).position <= frame)
            ++m_standAnfang;
    }
    buchung(m_buchungEnde++) = {position(), befehl};
}

void Mischer::fuehreAus(const Befehl& b)
{
    const auto stimmen = std::span(m_stimmen.data(), size_t(m_anzahl));
    if (b.griff == 0) {
        for (Stimme& s : stimmen)
            if (s.griff == 0)
                blendeAus(s.rest, s.gesamt, frames(Schnitt_ms)); // even when the new click has no sound
    } else if (!b.klang) {
        for (Stimme& s : stimmen)
            if (s.griff == b.griff)
                blendeAus(s.rest, s.gesamt, frames(Loslassen_ms));
    } else {
        const auto gehalten = [](const Stimme& s) { return s.griff > 0 && s.rest < 0; };
        if (std::count_if(stimmen.begin(), stimmen.end(), gehalten) >= Hoechste_Stimmen) {
            Stimme& aelteste = *std::find_if(stimmen.begin(), stimmen.end(), gehalten);
            blendeAus(aelteste.rest, aelteste.gesamt, frames(Loslassen_ms));
        }
    }
    if (b.klang)
        starte(b);
}

// Adds a voice. Where many sound, one is cut short with a fade (one already fading first, the
// one nearest its end), so that making room never clicks.
void Mischer::starte(const Befehl& b)
{
    const int schnitt = frames(Schnitt_ms);
    const auto zaehlt = [&](const Stimme& s) { return s.rest < 0 || s.rest > schnitt; };
    Stimme* anfang = m_stimmen.data();
    Stimme* ende = anfang + m_anzahl;
    if (std::count_if(anfang, ende, zaehlt) >= Hoechste_Klaenge) {
        const auto vorrang = [&](const Stimme& s) { return !zaehlt(s) ? INT32_MAX : s.rest < 0 ? INT32_MAX - 1 : s.rest; };
        Stimme& weg = *std::min_element(anfang, ende, [&](auto& x, auto& y) { return vorrang(x) < vorrang(y); });
        blendeAus(weg.rest, weg.gesamt, schnitt);
    }
    if (m_anzahl == Plaetze) {
        // Only when voices come faster than their cuts fade: the quietest goes at once.
        Stimme* weg = std::min_element(anfang, ende, [](auto& x, auto& y) {
            return x.lautstaerke * (x.rest < 0 ? 1.0f : float(x.rest) / float(x.gesamt)) <
                   y.lautstaerke * (y.rest < 0 ? 1.0f : float(y.rest) / float(y.gesamt));
        });
        std::move(weg + 1, ende, weg);
        --m_anzahl;
    }
    m_stimmen[size_t(m_anzahl++)] = {b.klang, 0, b.lautstaerke, -1, 1, b.griff};
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

// Mixes up to Stueck frames into `aus` (none: unheard, only to move on); returns the peak.
float Mischer::mischeStueck(int16_t* aus, int frames)
{
    float* summe = m_summe.data();
    std::fill_n(summe, frames * Kanaele, 0.0f);
    Stimme* ende = std::remove_if(m_stimmen.data(), m_stimmen.data() + m_anzahl,
                                  [&](Stimme& s) { return !s.mischeIn(summe, frames); });
    m_anzahl = int(ende - m_stimmen.data());
    float spitze = 0;
    for (int i = 0; i < frames; ++i) {
        float* f = summe + Kanaele * i;
        const float hoechster = std::max(std::abs(f[0]), std::abs(f[1]));
        if (hoechster * m_daempfung > Grenze)
            m_daempfung = Grenze / hoechster;
        for (int c = 0; c < Kanaele; ++c) {
            const float v = std::clamp(f[c] * m_daempfung, -1.0f, 1.0f);
            spitze = std::max(spitze, std::abs(v));
            if (aus)
                aus[Kanaele * i + c] = int16_t(std::lrint(std::min(v * 32768.0f, 32767.0f)));
        }
        m_daempfung += (1 - m_daempfung) * m_erholung;
    }
    m_position.store(position() + frames, std::memory_order_relaxed);
    return spitze;
}

// Mixes on from the position reached, carrying out each booked command at its frame.
float Mischer::mischeWeiter(int16_t* aus, int frames)
{
    float spitze = 0;
    while (frames > 0) {
        while (m_buchungFaellig < m_buchungEnde && buchung(m_buchungFaellig).frame <= position())
            fuehreAus(buchung(m_buchungFaellig++).befehl);
        int64_t n = std::min(frames, Stueck);
        if (m_buchungFaellig < m_buchungEnde)
            n = std::min(n, buchung(m_buchungFaellig).frame - position());
        spitze = std::max(spitze, mischeStueck(aus, int(n)));
        if (aus)
            aus += n * Kanaele;
        frames -= int(n);
    }
    return spitze;
}

// Remembers what sounds here, as a point to go back to.
void Mischer::merkeStand()
{
    const int64_t pos = position();
    while (m_standAnfang < m_standEnde && stand(m_standAnfang).position < pos - m_rueckweg)
        ++m_standAnfang;
    if (m_standAnfang < m_standEnde && stand(m_standEnde - 1).position == pos)
        --m_standEnde;
    else if (m_standEnde - m_standAnfang == Staende)
        ++m_standAnfang;
    Stand& s = stand(m_standEnde++);
    s.position = pos;
    s.daempfung = m_daempfung;
    s.anzahl = m_anzahl;
    std::copy_n(m_stimmen.begin(), m_anzahl, s.stimmen.begin());
    // Commands carried out before the oldest point will never be carried out again.
    const int64_t aeltester = stand(m_standAnfang).position;
    while (m_buchungAnfang < m_buchungFaellig && buchung(m_buchungAnfang).frame < aeltester)
        ++m_buchungAnfang;
}

void Mischer::mische(int16_t* aus, int frames)
{
    merkeStand();
    holeBefehle(INT64_MIN);
    m_klingt.store(mischeWeiter(aus, frames) >= Hoerbar, std::memory_order_relaxed);
}

int64_t Mischer::zurueck(int64_t ziel)
{
    const int64_t pos = position();
    int64_t i = m_standEnde;
    while (i > m_standAnfang && stand(i - 1).position > ziel)
        --i;
    if (ziel >= pos || i == m_standAnfang)
        return pos;
    const Stand& s = stand(i - 1);
    m_standEnde = i; // later points belong to what is mixed anew
    std::copy_n(s.stimmen.begin(), s.anzahl, m_stimmen.begin());
    m_anzahl = s.anzahl;
    m_daempfung = s.daempfung;
    m_position.store(s.position, std::memory_order_relaxed);
    // Commands from that point on are carried out again; those carried out beyond the target
    // take effect at the target, where the stream now goes on.
    m_buchungFaellig = m_buchungAnfang;
    while (m_buchungFaellig < m_buchungEnde && buchung(m_buchungFaellig).frame < s.position)
        ++m_buchungFaellig;
    for (int64_t j = m_buchungFaellig; j < m_buchungEnde; ++j)
        buchung(j).frame = std::min(buchung(j).frame, ziel);
    mischeWeiter(nullptr, int(ziel - s.position)); // up to the target as before, unheard
    return ziel;
}

void Mischer::neuerStrom()
{
    m_position.store(0, std::memory_order_relaxed);
    m_standAnfang = m_standEnde = 0;
    m_buchungAnfang = m_buchungFaellig; // what was carried out is done
    for (int64_t j = m_buchungFaellig; j < m_buchungEnde; ++j)
        buchung(j).frame = 0;           // what was not yet comes first in the new stream
    // Keys struck while no output played no longer belong to the new stream; their releases do.
    holeBefehle(jetzt_ns() - Verfall_ns);
}
