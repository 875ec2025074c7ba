// The one door to the speakers: plays a wave file by path, asynchronously.
#pragma once

#include <QString>

class Tonausgabe
{
public:
    virtual ~Tonausgabe() = default;
    virtual void spiele(const QString& pfad) = 0;
    // Sounds will be needed soon: an output may get ready in the background.
    virtual void vorbereiten() {}
};

// Plays nothing: for machines and runs without sound.
class StummeTonausgabe : public Tonausgabe
{
public:
    void spiele(const QString&) override {}
};
