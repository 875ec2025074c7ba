// A bounded queue that device threads fill and the user-interface thread empties, without locks:
// a device's real-time thread must never wait. (The classic cell-sequence ring, Vyukov style.)
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>

template <typename T>
class MidiSchlange
{
public:
    // `groesse` must be a power of two.
    explicit MidiSchlange(std::size_t groesse) : m_zellen(new Zelle[groesse]), m_maske(groesse - 1)
    {
        for (std::size_t i = 0; i < groesse; ++i)
            m_zellen[i].folge.store(i, std::memory_order_relaxed);
    }

    // False when full (the event is then lost; the caller notes it).
    bool rein(const T& wert)
    {
        std::size_t pos = m_ein.load(std::memory_order_relaxed);
        for (;;) {
            Zelle& z = m_zellen[pos & m_maske];
            const std::size_t folge = z.folge.load(std::memory_order_acquire);
            const auto abstand = static_cast<std::ptrdiff_t>(folge) - static_cast<std::ptrdiff_t>(pos);
            if (abstand == 0) {
                if (m_ein.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                    z.wert = wert;
                    z.folge.store(pos + 1, std::memory_order_release);
                    return true;
                }
            } else if (abstand < 0) {
                return false;
            } else {
                pos = m_ein.load(std::memory_order_relaxed);
            }
        }
    }

    bool raus(T& wert)
    {
        std::size_t pos = m_aus.load(std::memory_order_relaxed);
        for (;;) {
            Zelle& z = m_zellen[pos & m_maske];
            const std::size_t folge = z.folge.load(std::memory_order_acquire);
            const auto abstand = static_cast<std::ptrdiff_t>(folge) - static_cast<std::ptrdiff_t>(pos + 1);
            if (abstand == 0) {
                if (m_aus.compare_exchange_weak(pos, pos + 1, std::memory_order_relaxed)) {
                    wert = z.wert;
                    z.folge.store(pos + m_maske + 1, std::memory_order_release);
                    return true;
                }
            } else if (abstand < 0) {
                return false;
            } else {
                pos = m_aus.load(std::memory_order_relaxed);
            }
        }
    }

private:
    struct Zelle
    {
        std::atomic<std::size_t> folge;
        T wert;
    };
    std::unique_ptr<Zelle[]> m_zellen;
    const std::size_t m_maske;
    alignas(64) std::atomic<std::size_t> m_ein{0};
    alignas(64) std::atomic<std::size_t> m_aus{0};
};
