#include "input/Monitorquelle.h"

#ifdef KLAVIDOR_MIT_PULSE

#include <pulse/pulseaudio.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <unistd.h>

namespace {

constexpr auto Hoechstens = std::chrono::milliseconds(1000); // a stalled server must not hold us
constexpr int Schritt_us = 10000;
constexpr auto Wiederverbinden = std::chrono::seconds(1); // a server gone is looked for that often

// One connection to the server, run on the calling thread.
class Verbindung
{
public:
    Verbindung() : m_schleife(pa_mainloop_new())
    {
        m_kontext = pa_context_new(pa_mainloop_get_api(m_schleife), "Klavidor");
        if (!m_kontext || pa_context_connect(m_kontext, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return;
        warte([this] {
            const auto s = pa_context_get_state(m_kontext);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        m_bereit = pa_context_get_state(m_kontext) == PA_CONTEXT_READY;
    }
    ~Verbindung()
    {
        if (m_kontext) {
            pa_context_disconnect(m_kontext);
            pa_context_unref(m_kontext);
        }
        pa_mainloop_free(m_schleife);
    }
    Verbindung(const Verbindung&) = delete;
    Verbindung& operator=(const Verbindung&) = delete;

    bool bereit() const { return m_bereit && pa_context_get_state(m_kontext) == PA_CONTEXT_READY; }
    pa_context* kontext() { return m_kontext; }

    // `neu` is set whenever a source or a capture stream comes, goes or moves.
    void abonniere(bool* neu)
    {
        pa_context_set_subscribe_callback(m_kontext, [](pa_context*, pa_subscription_event_type_t, uint32_t, void* d) {
            *static_cast<bool*>(d) = true;
        }, neu);
        fuehreAus(pa_context_subscribe(m_kontext, pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SOURCE
                                                                         | PA_SUBSCRIPTION_MASK_SOURCE_OUTPUT),
                                       nullptr, nullptr));
    }

    // Dispatches what the server has sent, without waiting.
    void nimmNachrichten()
    {
        while (pa_mainloop_iterate(m_schleife, 0, nullptr) > 0) {
        }
    }

    // Runs the loop until the operation is done (or the time is up) and lets it go.
    void fuehreAus(pa_operation* op)
    {
        if (!op)
            return;
        warte([op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
        pa_operation_cancel(op);
        pa_operation_unref(op);
    }

private:
    template <typename F> void warte(F fertig)
    {
        const auto ende = std::chrono::steady_clock::now() + Hoechstens;
        while (!fertig() && std::chrono::steady_clock::now() < ende) {
            if (pa_mainloop_prepare(m_schleife, Schritt_us) < 0 || pa_mainloop_poll(m_schleife) < 0
                || pa_mainloop_dispatch(m_schleife) < 0)
                return;
        }
    }

    pa_mainloop* m_schleife;
    pa_context* m_kontext = nullptr;
    bool m_bereit = false;
};

struct Quellen
{
    std::string standard;
    std::set<std::string> monitorNamen;
    std::set<uint32_t> monitorNummern;
    std::set<uint32_t> eigeneQuellen; // sources that this process's capture streams read
};

Quellen frage(Verbindung& v, bool eigene)
{
    Quellen q;
    if (!v.bereit())
        return q;
    if (!eigene)
        v.fuehreAus(pa_context_get_server_info(v.kontext(), [](pa_context*, const pa_server_info* i, void* d) {
            if (i && i->default_source_name)
                static_cast<Quellen*>(d)->standard = i->default_source_name;
        }, &q));
    v.fuehreAus(pa_context_get_source_info_list(v.kontext(), [](pa_context*, const pa_source_info* i, int, void* d) {
        if (i && i->monitor_of_sink != PA_INVALID_INDEX) {
            static_cast<Quellen*>(d)->monitorNamen.insert(i->name);
            static_cast<Quellen*>(d)->monitorNummern.insert(i->index);
        }
    }, &q));
    if (eigene)
        v.fuehreAus(pa_context_get_source_output_info_list(v.kontext(),
            [](pa_context*, const pa_source_output_info* i, int, void* d) {
                const char* pid = i ? pa_proplist_gets(i->proplist, PA_PROP_APPLICATION_PROCESS_ID) : nullptr;
                if (pid && std::strtol(pid, nullptr, 10) == long(getpid()))
                    static_cast<Quellen*>(d)->eigeneQuellen.insert(i->source);
            }, &q));
    return q;
}

bool amMonitor(const Quellen& q)
{
    for (uint32_t quelle : q.eigeneQuellen)
        if (q.monitorNummern.count(quelle))
            return true;
    return false;
}

} // namespace

bool Monitorquelle::standardIstMonitor()
{
    Verbindung v;
    const Quellen q = frage(v, false);
    return q.monitorNamen.count(q.standard) > 0;
}

struct Monitorquelle::Wache::Zustand
{
    std::unique_ptr<Verbindung> verbindung;
    bool neu = true; // asked by nobody yet, or changed since
    bool amMonitor = false;
    std::chrono::steady_clock::time_point naechsterVersuch{};

    bool verbunden()
    {
        if (verbindung && verbindung->bereit())
            return true;
        const auto jetzt = std::chrono::steady_clock::now();
        if (jetzt < naechsterVersuch)
            return false;
        naechsterVersuch = jetzt + Wiederverbinden;
        verbindung = std::make_unique<Verbindung>();
        if (!verbindung->bereit())
            return false;
        verbindung->abonniere(&neu);
        neu = true; // what changed while we were away is not known
        return true;
    }
};

Monitorquelle::Wache::Wache() : z(std::make_unique<Zustand>()) {}
Monitorquelle::Wache::~Wache() = default;

bool Monitorquelle::Wache::eigeneAufnahmeAmMonitor()
{
    if (!z->verbunden())
        return false;
    z->verbindung->nimmNachrichten();
    if (z->neu) {
        z->neu = false; // news arriving while we ask marks it again
        z->amMonitor = amMonitor(frage(*z->verbindung, true));
    }
    return z->amMonitor;
}

#else

bool Monitorquelle::standardIstMonitor() { return false; }

struct Monitorquelle::Wache::Zustand
{
};
Monitorquelle::Wache::Wache() = default;
Monitorquelle::Wache::~Wache() = default;
bool Monitorquelle::Wache::eigeneAufnahmeAmMonitor() { return false; }

#endif
