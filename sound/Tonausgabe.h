// The one door to the speakers: plays a wave file by path, asynchronously.
#pragma once

#include <QString>
#include <QStringList>

class Tonausgabe
{
public:
    virtual ~Tonausgabe() = default;
    virtual void spiele(const QString& pfad) = 0;
    // Sounds will be needed soon: an output may get ready in the background.
    virtual void vorbereiten() {}
    // These files will be played: an output may read and decode them ahead, off the caller's
    // thread, so that no first play waits for its file. Default: nothing.
    virtual void vorladen(const QStringList& pfade) { (void)pfade; }
    // Starts `pfad` at `lautstaerke` (0..1) as a held voice that sounds together with others (up
    // to 10) until it is released; returns its handle (0 = none). Default: plays it as a click.
    virtual int halteStimme(const QString& pfad, double lautstaerke)
    {
        (void)lautstaerke;
        spiele(pfad);
        return 0;
    }
    // Releases a held voice: it fades out over about 150 ms. Default: nothing.
    virtual void loeseStimme(int stimme) { (void)stimme; }
    // The learner switched the program's sound off or on: an output may then give back what it
    // holds only for quick sound (a small quantum of the sound server). Default: nothing.
    virtual void setzeKlangAn(bool an) { (void)an; }
    // Registers these files by their index for halteGemerkt (e.g. key k = pfade[k]); on the
    // window's thread, before the device thread uses them. Default: nothing.
    virtual void merkeKlaenge(const QStringList& pfade) { (void)pfade; }
    // From ONE device thread (a MIDI input), without lock, allocation or waiting: starts the
    // sound registered as `nummer` as a held voice; returns its handle (0 = none). Default: 0.
    virtual int halteGemerkt(int nummer, double lautstaerke)
    {
        (void)nummer;
        (void)lautstaerke;
        return 0;
    }
    // From that same device thread: releases a voice halteGemerkt started. Default: nothing.
    virtual void loeseGemerkt(int stimme) { (void)stimme; }
    // Whether the program's own sound is audible now (for the microphone, which must not take
    // the speakers for a played note). Default: false.
    virtual bool klingt() const { return false; }
};

// Plays nothing: for machines and runs without sound.
class StummeTonausgabe : public Tonausgabe
{
public:
    void spiele(const QString&) override {}
};
