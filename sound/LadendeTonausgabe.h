// The program's sound output: the SDL player lives in a module of its own that is loaded, in the
// background, only when the main window is about to open. The start screen thus starts without
// the audio libraries, and nothing ever waits for them: a click that comes while they load shows
// its note at once and sounds when the player is ready, if that is soon enough.
#pragma once

#include "sound/Tonausgabe.h"

#include <QString>
#include <chrono>
#include <functional>
#include <memory>

class LadendeTonausgabe : public Tonausgabe
{
public:
    using Erzeuger = std::function<Tonausgabe*()>;

    // `modul`: the player module's path; empty = look beside the program and in its lib folder.
    explicit LadendeTonausgabe(QString modul = {});
    // Makes the player with `erzeuge` on the loading thread instead of loading the module.
    explicit LadendeTonausgabe(Erzeuger erzeuge);
    // Never waits for a load still running: its player is dropped when it comes.
    ~LadendeTonausgabe() override;
    LadendeTonausgabe(const LadendeTonausgabe&) = delete;
    LadendeTonausgabe& operator=(const LadendeTonausgabe&) = delete;

    void vorbereiten() override;
    // The loading thread decodes them before the player is handed out (call before vorbereiten).
    void vorladen(const QStringList& pfade) override;
    void spiele(const QString& pfad) override;
    int halteStimme(const QString& pfad, double lautstaerke) override;
    void loeseStimme(int stimme) override;
    bool klingt() const override;
    void setzeKlangAn(bool an) override;
    // Registered once the player is there, if it is not yet.
    void merkeKlaenge(const QStringList& pfade) override;
    // From the one device thread, without a lock: nothing sounds before the player is there. The
    // device thread must end before this output is destroyed.
    int halteGemerkt(int nummer, double lautstaerke) override;
    void loeseGemerkt(int stimme) override;

    // Starts loading if it has not started, and waits until it ends. Whether a real player is
    // there; false = silent.
    bool ladenUndAbwarten();

    // A click that came while loading still sounds if the player is ready within this time;
    // any later it would no longer belong to the click.
    static constexpr std::chrono::milliseconds Nachholfrist{100};

private:
    struct Zustand;
    static void laden(const std::shared_ptr<Zustand>& zustand, const Erzeuger& erzeuge);
    Erzeuger m_erzeuge;
    std::shared_ptr<Zustand> m_zustand;
    bool m_gestartet = false;
};
