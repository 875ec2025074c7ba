// Mixes the player's voices into one stereo stream: the click sound (a new click cuts the one
// before), and held voices at their own volume. Commands come from any other thread through a
// bounded lock-free queue; `mische` runs on the audio thread and never allocates, frees or waits.
//
// The stream can also go back over what it has mixed but not yet played and mix it again with
// the commands given since (`zurueck`): a new sound then starts within the buffer, not after it.
// Every command carried out is booked at the frame where it took effect, so mixing again carries
// it out once more at that frame, or where the stream went back to if that frame is gone: however
// often the stream goes back, each command takes effect exactly once in what is heard. Mixing is
// deterministic, so the samples up to that point come out exactly as before.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

// What an output calls on its audio thread: fills `frames` frames of 16-bit stereo.
class Mischquelle
{
public:
    virtual void mische(int16_t* aus, int frames) = 0;

protected:
    ~Mischquelle() = default;
};

class Mischer : public Mischquelle
{
public:
    static constexpr int Rate = 44100;             // the key sounds' rate, and the mix's until an output says otherwise
    static constexpr int Gemerkte = 128;           // sounds a device thread can start by number
    static constexpr int Kanaele = 2;
    static constexpr int Hoechste_Stimmen = 10;    // held at once; one more releases the oldest
    static constexpr double Schnitt_ms = 6;        // a cut click fades this long, so it does not click
    static constexpr double Loslassen_ms = 150;    // a released voice dies away this long
    static constexpr float Grenze = 0.95f;         // the mix is limited to this, so chords never clip

    // Samples at the mix's rate, Kanaele interleaved, full scale = 1.
    using Klang = std::shared_ptr<const std::vector<float>>;

    Mischer();
    ~Mischer();
    Mischer(const Mischer&) = delete;
    Mischer& operator=(const Mischer&) = delete;

    // Commands, from any thread but the audio thread. A sound handed in stays in memory as long
    // as the mixer lives, so that the audio thread never frees one.
    void klick(Klang klang);
    // Returns the voice's handle (> 0).
    int halte(Klang klang, double lautstaerke);
    void loese(int stimme);
    // Called after each command, on the caller's thread: the output may mix again at once.
    void setzeWecker(std::function<void()> wecker);

    // For ONE device thread (a MIDI input), beside the callers above: sounds are registered by
    // number beforehand, on a caller's thread; then that thread starts and releases them without
    // lock, allocation or free. Registering again replaces the sound (another rate, a new file).
    void merke(int nummer, Klang klang);
    // Returns the voice's handle (> 0); 0 if nothing is registered under `nummer`.
    int halteGemerkt(int nummer, double lautstaerke);
    void loeseGemerkt(int stimme);

    // The audio side: one output at a time calls these.
    // Fills `frames` frames of 16-bit stereo, from the position reached, after carrying out the
    // commands given since the last call.
    void mische(int16_t* aus, int frames) override;
    // The rate the sounds handed in are at; set it while no output mixes, before a new stream.
    void setzeRate(int rate);
    int rate() const { return m_rate.load(std::memory_order_relaxed); }
    // Frames mixed so far.
    int64_t position() const { return m_position.load(std::memory_order_relaxed); }
    // Goes back to frame `ziel` (or the nearest point before the present that it still can) so
    // that the next `mische` mixes from there again; returns the new position.
    int64_t zurueck(int64_t ziel);
    // Call while no output mixes, before another output starts to: the next `mische` begins a new
    // stream at position 0. Sounding voices keep sounding; the way back is forgotten.
    void neuerStrom();
    // Whether the last mixed stretch held sound.
    bool klingt() const { return m_klingt.load(std::memory_order_relaxed); }

private:
    static constexpr int Plaetze = 40;        // voices that can sound at once, fades included
    static constexpr int Schlangenlaenge = 1024;
    static constexpr int Buchungen = 1024;    // commands remembered for mixing again
    static constexpr int Staende = 64;        // points the stream can go back to
    static constexpr int Stueck = 256;        // frames mixed in one go

    using Samples = const std::vector<float>*;
    struct Stimme
    {
        Samples klang = nullptr;
        size_t pos = 0;      // in samples
        float lautstaerke = 1;
        int rest = -1;       // frames left of the fade; -1 = not fading
        int gesamt = 1;      // frames of the whole fade
        int griff = 0;       // 0 = the click
        bool mischeIn(float* summe, int frames);
    };
    struct Befehl
    {
        Samples klang = nullptr; // to start; none = release `griff` (or cut the click)
        float lautstaerke = 0;
        int griff = 0;           // 0 = a click
        int64_t gegeben = 0;     // steady clock, ns
    };
    struct Buchung
    {
        int64_t frame;
        Befehl befehl;
    };
    // What sounds at one frame, before the commands booked for that frame.
    struct Stand
    {
        int64_t position = 0;
        float daempfung = 1;
        int anzahl = 0;
        std::array<Stimme, Plaetze> stimmen;
    };

    // A bounded queue from one writer to the audio thread.
    struct Schlange
    {
        std::array<Befehl, Schlangenlaenge> befehle;
        std::atomic<uint32_t> geschrieben{0}, gelesen{0};
        bool schiebe(const Befehl& befehl);
    };

    void befiehl(Klang klang, float lautstaerke, int griff);
    void wecke();
    int frames(double ms) const;
    void holeAus(Schlange& schlange, int64_t seit);
    Samples behalte(Klang klang);
    void holeBefehle(int64_t seit);
    void bucheEin(const Befehl& befehl);
    void fuehreAus(const Befehl& befehl);
    void starte(const Befehl& befehl);
    float mischeWeiter(int16_t* aus, int frames);
    float mischeStueck(int16_t* aus, int frames);
    void merkeStand();
    Buchung& buchung(int64_t i) { return m_buchungen[size_t(i % Buchungen)]; }
    Stand& stand(int64_t i) { return m_staende[size_t(i % Staende)]; }

    // The callers' side.
    std::mutex m_eingang; // only between callers; the audio thread never takes it
    std::vector<Klang> m_behalten;
    std::function<void()> m_wecker;
    std::atomic<bool> m_weckerDa{false};
    std::atomic<int> m_weckerNutzer{0}; // the device thread ringing the wecker now
    std::atomic<int> m_naechster{0};
    std::atomic<int> m_rate{Rate};
    std::array<std::atomic<Samples>, Gemerkte> m_gemerkt{};

    // The queues to the audio thread: from the callers, and from the device thread.
    Schlange m_schlange, m_geraeteSchlange;

    // The audio thread's side.
    std::array<Stimme, Plaetze> m_stimmen;
    int m_anzahl = 0;
    float m_daempfung = 1; // the limiter's gain
    int64_t m_rueckweg = Rate / 10; // how far back the stream may go: beyond any buffer
    float m_erholung = 1.0f / (Rate / 10); // the limiter lets go again over about 100 ms
    std::array<Buchung, Buchungen> m_buchungen;
    int64_t m_buchungAnfang = 0, m_buchungEnde = 0, m_buchungFaellig = 0; // running indices
    std::array<Stand, Staende> m_staende;
    int64_t m_standAnfang = 0, m_standEnde = 0;
    std::array<float, Stueck * Kanaele> m_summe;
    std::atomic<int64_t> m_position{0};
    std::atomic<bool> m_klingt{false};
};
