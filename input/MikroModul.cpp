// The capture module klavidor_mikro.so: SDL2 audio capture from the default input device, with
// the note detection running on SDL's audio thread (aubio works in buffers made at open: nothing
// there allocates), and a watcher that notices the device going away. Loaded only when the
// microphone is switched on.
#include "sound/SdlAudio.h"
#include "input/Mikroaufnahme.h"
#include "input/Monitorquelle.h"
#include "input/Notenerkennung.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#ifdef KLAVIDOR_MIT_ALSA
#include <alsa/asoundlib.h>
#endif

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#if defined(_WIN32)
#define KLAVIDOR_EXPORT __declspec(dllexport)
#else
#define KLAVIDOR_EXPORT __attribute__((visibility("default")))
#endif

namespace {

constexpr int Abtastrate = 44100;
constexpr Uint16 Blockgroesse = 512; // 11.6 ms a callback: the detector works in 256-sample frames
constexpr auto Wachabstand = std::chrono::milliseconds(250);
constexpr auto Pegelabstand = std::chrono::milliseconds(1000 / Pegel_pro_Sekunde);

using Uhr = std::chrono::steady_clock;

#ifdef KLAVIDOR_MIT_ALSA
void stillAlsa(const char*, int, const char*, int, const char*, ...) {}
#endif

// SDL's dummy and disk drivers "capture" silence or a file: not a microphone.
bool echterTreiber()
{
    const char* treiber = SDL_GetCurrentAudioDriver();
    return treiber && std::strcmp(treiber, "dummy") != 0 && std::strcmp(treiber, "disk") != 0;
}

class SdlAufnahme : public Mikroaufnahme
{
public:
    explicit SdlAufnahme(Mikrohoerer* hoerer) : m_hoerer(hoerer) {}
    ~SdlAufnahme() override
    {
        {
            std::lock_guard sperre(m_mutex);
            m_ende = true;
        }
        m_wecker.notify_all();
        if (m_waechter.joinable())
            m_waechter.join();
        if (m_geraet) {
            SDL_PauseAudioDevice(m_geraet, 1); // closing a running capture stream takes twice as long
            SdlAudio::schliesse(m_geraet);     // waits for a callback still running
        }
        if (m_subsystem)
            SdlAudio::beende(); // the player may still hold its own start
    }

    bool oeffne()
    {
        // The audio subsystem is counted: the player module in this process may hold it too.
        m_subsystem = SdlAudio::starte();
        if (!m_subsystem || !echterTreiber() || Monitorquelle::standardIstMonitor())
            return false;
        SDL_AudioSpec wunsch{};
        wunsch.freq = Abtastrate;
        wunsch.format = AUDIO_F32SYS;
        wunsch.channels = 1;
        wunsch.samples = Blockgroesse;
        wunsch.callback = &SdlAufnahme::rueckruf;
        wunsch.userdata = this;
        // No changes allowed: SDL or the sound server convert, and the detector's frames keep their length.
        m_geraet = SdlAudio::oeffne(true, wunsch);
        if (!m_geraet)
            return false;
        m_erkennung = std::make_unique<Notenerkennung>(Abtastrate, [this](const Notenerkennung::Note& n) { melde(n); });
        m_erkennung->beiVerworfen([this](Notenerkennung::Grund g, std::int64_t einsatz) {
            m_hoerer->verworfen(g == Notenerkennung::Grund::ZuLeise, zeitVon(einsatz));
        });
        m_waechter = std::thread([this] { wache(); });
        SDL_PauseAudioDevice(m_geraet, 0);
        return true;
    }

    void setzeStille(double dB) override { m_stille.store(dB, std::memory_order_relaxed); }
    void erwarte(int midi) override { m_erwartet.store(midi, std::memory_order_relaxed); }

private:
    static void rueckruf(void* selbst, Uint8* strom, int laenge)
    {
        auto* a = static_cast<SdlAufnahme*>(selbst);
        const double stille = a->m_stille.load(std::memory_order_relaxed);
        if (stille != a->m_stilleGesetzt) {
            a->m_stilleGesetzt = stille;
            a->m_erkennung->setzeStille(stille);
        }
        a->m_erkennung->erwarte(a->m_erwartet.load(std::memory_order_relaxed));
        a->m_erkennung->verarbeite(reinterpret_cast<const float*>(strom), std::size_t(laenge) / sizeof(float));
        const auto jetzt = Uhr::now();
        if (jetzt - a->m_letzterPegel >= Pegelabstand) {
            a->m_letzterPegel = jetzt;
            a->m_hoerer->pegel(a->m_erkennung->pegel());
        }
    }

    void melde(const Notenerkennung::Note& n) { m_hoerer->note(n.midi, n.cent, zeitVon(n.einsatz)); }

    // The onset's time, counted back from the samples read since.
    Uhr::time_point zeitVon(std::int64_t einsatz) const
    {
        const auto zurueck = std::chrono::duration<double>(double(m_erkennung->gelesen() - einsatz) / Abtastrate);
        return Uhr::now() - std::chrono::duration_cast<Uhr::duration>(zurueck);
    }

    // SDL stops a device that was removed; PulseAudio instead moves the stream, perhaps to a monitor.
    void wache()
    {
        Monitorquelle::Wache monitor;
        std::unique_lock sperre(m_mutex);
        while (!m_wecker.wait_for(sperre, Wachabstand, [this] { return m_ende; })) {
            sperre.unlock();
            const bool weg = SDL_GetAudioDeviceStatus(m_geraet) == SDL_AUDIO_STOPPED
                             || monitor.eigeneAufnahmeAmMonitor();
            sperre.lock();
            if (weg && !m_ende) {
                m_hoerer->getrennt();
                return;
            }
        }
    }

    Mikrohoerer* m_hoerer;
    bool m_subsystem = false;
    SDL_AudioDeviceID m_geraet = 0;
    std::unique_ptr<Notenerkennung> m_erkennung;
    std::atomic<double> m_stille{Notenerkennung::Stille_Standard_dB};
    double m_stilleGesetzt = Notenerkennung::Stille_Standard_dB; // capture thread only
    std::atomic<int> m_erwartet{-1};
    Uhr::time_point m_letzterPegel{};
    std::thread m_waechter;
    std::mutex m_mutex;
    std::condition_variable m_wecker;
    bool m_ende = false;
};

} // namespace

extern "C" KLAVIDOR_EXPORT Mikroaufnahme* klavidor_mikro_oeffnen(Mikrohoerer* hoerer)
{
#ifdef KLAVIDOR_MIT_ALSA
    snd_lib_error_set_handler(stillAlsa); // no device is not an error worth a line on stderr
#endif
    auto aufnahme = std::make_unique<SdlAufnahme>(hoerer);
    const bool offen = aufnahme->oeffne();
    SDL_TLSCleanup(); // SDL's per-thread data of the calling thread, which SDL did not make
    return offen ? aufnahme.release() : nullptr;
}

extern "C" KLAVIDOR_EXPORT void klavidor_mikro_schliessen(Mikroaufnahme* aufnahme)
{
    delete aufnahme;
    SDL_TLSCleanup();
}
