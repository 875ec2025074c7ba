#include "input/Quellnamen.h"

#include <QRegularExpression>
#include <QSet>

namespace {

// Clients that are no keyboard: the kernel's loop-back, the sound servers' own ports.
const QStringList KeineQuellen = {"Midi Through", "System", "PipeWire-System", "PipeWire-RT-Event",
                                  EigenerClient};

// Bridges into JACK, and how their port names give back the ALSA "client:port".
struct Bruecke
{
    QRegularExpression muster; // captures the ALSA client and port
};
const Bruecke Bruecken[] = {
    {QRegularExpression(R"(^a2j:(.+) \[\d+\] \((?:capture|playback)\): (.+)$)")},      // a2jmidid
    {QRegularExpression(R"(^Midi-Bridge:(.+?)(?: \d+)?:\((?:capture|playback)_\d+\) (.+)$)")}, // PipeWire
};

const QRegularExpression AlsaNummern(R"( (\d+):(\d+)$)");

QString ohneNummern(const MidiPort& port)
{
    QString name = port.roh;
    if (port.system == MidiSystem::Alsa)
        name.remove(AlsaNummern);
    return name;
}

// The ALSA "client:port" a bridged JACK port stands for, or empty.
QString ueberBruecke(const MidiPort& port)
{
    if (port.system != MidiSystem::Jack)
        return {};
    for (const Bruecke& b : Bruecken) {
        const auto treffer = b.muster.match(port.roh);
        if (treffer.hasMatch())
            return treffer.captured(1) + ":" + treffer.captured(2);
    }
    return {};
}

bool keineQuelle(const QString& name)
{
    const QString client = name.section(':', 0, 0);
    for (const QString& k : KeineQuellen)
        if (client == k || client.startsWith(k + "-"))
            return true;
    return false;
}

} // namespace

QString Quellname(const MidiPort& port)
{
    const QString gebrueckt = ueberBruecke(port);
    const QString name = gebrueckt.isEmpty() ? ohneNummern(port) : gebrueckt;
    return keineQuelle(name) ? QString() : name;
}

AlsaAdresse Alsaadresse(const MidiPort& port)
{
    const auto treffer = AlsaNummern.match(port.roh);
    if (port.system != MidiSystem::Alsa || !treffer.hasMatch())
        return {};
    return {treffer.captured(1).toInt(), treffer.captured(2).toInt()};
}

std::vector<MidiQuelle> Quellen(const std::vector<MidiPort>& ports)
{
    QSet<QString> direkt;
    for (const MidiPort& p : ports)
        if (p.system == MidiSystem::Alsa)
            direkt.insert(ohneNummern(p));
    std::vector<MidiQuelle> quellen;
    for (const MidiPort& p : ports) {
        const QString name = Quellname(p);
        if (name.isEmpty() || (!ueberBruecke(p).isEmpty() && direkt.contains(name)))
            continue;
        quellen.push_back({name, p});
    }
    return quellen;
}
