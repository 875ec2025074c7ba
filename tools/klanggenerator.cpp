// Synthesises the 40 key sounds "00-c.wav" ... "39-dis.wav": a piano-like tone per key,
// equal temperament with a' = 440 Hz (key 21), 1.5 s, 44.1 kHz, 16-bit mono.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int Rate = 44100;
constexpr double Dauer = 1.5;
constexpr std::array<const char*, 12> Teil{"c", "cis", "d", "dis", "e", "f", "fis", "g", "gis", "a", "b", "h"};

std::vector<int16_t> ton(double f)
{
    const int n = int(Rate * Dauer);
    std::vector<double> s(n, 0.0);
    const double inharm = 0.00012; // slight string stiffness: overtones a little sharp
    for (int h = 1; h <= 10; ++h) {
        const double fh = f * h * std::sqrt(1.0 + inharm * h * h);
        if (fh > Rate * 0.45)
            break;
        // Brighter in the bass, purer in the treble; higher partials die away sooner.
        const double amp = std::pow(double(h), -1.4) * (h == 1 ? 1.0 : std::exp(-f / 1400.0 * (h - 1) * 0.35));
        const double abkl = 1.6 + f / 500.0 + 0.9 * (h - 1);
        for (int i = 0; i < n; ++i) {
            const double t = double(i) / Rate;
            s[i] += amp * std::exp(-abkl * t) * std::sin(2 * M_PI * fh * t);
        }
    }
    const int anschlag = int(0.004 * Rate); // 4 ms attack
    const int ausklang = int(0.08 * Rate);  // 80 ms fade to silence at the end
    double spitze = 1e-9;
    for (int i = 0; i < n; ++i) {
        if (i < anschlag)
            s[i] *= 0.5 - 0.5 * std::cos(M_PI * i / anschlag);
        if (i >= n - ausklang)
            s[i] *= 0.5 + 0.5 * std::cos(M_PI * (i - (n - ausklang)) / ausklang);
        spitze = std::max(spitze, std::abs(s[i]));
    }
    std::vector<int16_t> pcm(n);
    for (int i = 0; i < n; ++i)
        pcm[i] = int16_t(std::lround(s[i] / spitze * 0.7 * 32767));
    return pcm;
}

void le(std::FILE* f, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        std::fputc(int((v >> (8 * i)) & 0xFF), f);
}

bool schreibe(const std::filesystem::path& pfad, const std::vector<int16_t>& pcm)
{
    std::FILE* f = std::fopen(pfad.c_str(), "wb");
    if (!f)
        return false;
    const uint32_t daten = uint32_t(pcm.size() * 2);
    std::fputs("RIFF", f);
    le(f, 36 + daten, 4);
    std::fputs("WAVEfmt ", f);
    le(f, 16, 4);
    le(f, 1, 2);        // PCM
    le(f, 1, 2);        // mono
    le(f, Rate, 4);
    le(f, Rate * 2, 4); // bytes per second
    le(f, 2, 2);        // block align
    le(f, 16, 2);       // bits per sample
    std::fputs("data", f);
    le(f, daten, 4);
    for (int16_t v : pcm)
        le(f, uint16_t(v), 2);
    return std::fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: klanggenerator OUTPUT_DIR\n");
        return 2;
    }
    const std::filesystem::path ziel(argv[1]);
    std::filesystem::create_directories(ziel);
    for (int k = 0; k < 40; ++k) {
        char name[16];
        std::snprintf(name, sizeof name, "%02d-%s.wav", k, Teil[k % 12]);
        if (!schreibe(ziel / name, ton(440.0 * std::pow(2.0, (k - 21) / 12.0)))) {
            std::fprintf(stderr, "klanggenerator: cannot write %s\n", (ziel / name).c_str());
            return 1;
        }
    }
    return 0;
}
