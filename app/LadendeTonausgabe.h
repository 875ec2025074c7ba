// The program's sound output: the SDL player lives in a module of its own that is loaded, in the
// background, only when the main window is about to open. The start screen thus starts without
// the audio libraries, and a click never waits for them unless they are still loading.
#pragma once

#include "app/Tonausgabe.h"

#include <QString>
#include <future>
#include <memory>

class LadendeTonausgabe : public Tonausgabe
{
public:
    // `modul`: the player module's path; empty = look beside the program and in its lib folder.
    explicit LadendeTonausgabe(QString modul = {});
    ~LadendeTonausgabe() override;

    void vorbereiten() override;
    void spiele(const QString& pfad) override;

    // Whether a real player is there (after loading); false = silent.
    bool geladen();

    // Where the module is looked for when no path is given.
    static QStringList Suchorte();

private:
    QString m_modul;
    std::future<Tonausgabe*> m_laden;
    std::unique_ptr<Tonausgabe> m_ton;
    bool m_fertig = false;
};
