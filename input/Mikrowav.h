// Reads a sound file as mono float samples through aubio's own reader, for the detector's tests
// and bench (the program itself never reads recordings).
#pragma once

#include <aubio/aubio.h>

#include <string>
#include <vector>

struct Mikrowav
{
    std::vector<float> proben;
    int abtastrate = 0;

    // Empty when the file cannot be read.
    static Mikrowav lese(const std::string& pfad)
    {
        constexpr uint_t Block = 4096;
        Mikrowav w;
        aubio_source_t* quelle = new_aubio_source(pfad.c_str(), 0, Block);
        if (!quelle)
            return w;
        w.abtastrate = int(aubio_source_get_samplerate(quelle));
        fvec_t* block = new_fvec(Block);
        uint_t gelesen = 0;
        do {
            aubio_source_do(quelle, block, &gelesen);
            w.proben.insert(w.proben.end(), block->data, block->data + gelesen);
        } while (gelesen == Block);
        del_fvec(block);
        del_aubio_source(quelle);
        return w;
    }
};
