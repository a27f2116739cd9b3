#include "system/PCStummschaltung.h"

#include <memory>

#include <alsa/asoundlib.h>

#include "system/Mischpult.h"

namespace {
bool g_gemerkterZustand = false;

// ALSA writes its errors (no card, no sound server) to stderr; the mute
// reports nothing, so they are swallowed. Nothing else here uses ALSA.
void alsaStill(const char*, int, const char*, int, const char*, ...)
{}

struct MixerSchliessen
{
    void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
};
using Mixer = std::unique_ptr<snd_mixer_t, MixerSchliessen>;

class AlsaElement : public Mischpultelement
{
public:
    AlsaElement(Mixer mixer, snd_mixer_elem_t* element)
        : m_mixer(std::move(mixer))
        , m_element(element)
    {}
    bool hatWiedergabeschalter() const override
    {
        return snd_mixer_selem_has_playback_switch(m_element) != 0;
    }
    bool hatKanal(int kanal) const override
    {
        return snd_mixer_selem_has_playback_channel(
                   m_element, static_cast<snd_mixer_selem_channel_id_t>(kanal)) != 0;
    }
    std::optional<bool> schalter(int kanal) const override
    {
        int wert = 0;
        if (snd_mixer_selem_get_playback_switch(
                m_element, static_cast<snd_mixer_selem_channel_id_t>(kanal), &wert) < 0)
            return std::nullopt;
        return wert != 0;
    }
    bool schalterSetzen(int kanal, bool an) override
    {
        return snd_mixer_selem_set_playback_switch(
                   m_element, static_cast<snd_mixer_selem_channel_id_t>(kanal), an ? 1 : 0) >= 0;
    }

private:
    Mixer m_mixer; // the element lives as long as its mixer
    snd_mixer_elem_t* m_element;
};

class AlsaMischpult : public Mischpult
{
public:
    std::unique_ptr<Mischpultelement> element(const char* name) override
    {
        snd_lib_error_set_handler(alsaStill);
        snd_mixer_t* roh = nullptr;
        if (snd_mixer_open(&roh, 0) < 0)
            return nullptr;
        Mixer mixer(roh);
        if (snd_mixer_attach(roh, "default") < 0 ||
            snd_mixer_selem_register(roh, nullptr, nullptr) < 0 || snd_mixer_load(roh) < 0)
            return nullptr;
        snd_mixer_selem_id_t* id = nullptr;
        snd_mixer_selem_id_alloca(&id);
        snd_mixer_selem_id_set_index(id, 0);
        snd_mixer_selem_id_set_name(id, name);
        snd_mixer_elem_t* element = snd_mixer_find_selem(roh, id);
        if (element == nullptr)
            return nullptr;
        return std::make_unique<AlsaElement>(std::move(mixer), element);
    }
};

const char* elementname(quint32 komponententyp)
{
    return komponententyp == kLautsprecher ? "Master" : nullptr;
}

/// The line's element, when it has a playback switch.
std::unique_ptr<Mischpultelement> schalterFinden(Mischpult& mischpult, quint32 komponententyp)
{
    const char* name = elementname(komponententyp);
    if (name == nullptr)
        return nullptr;
    std::unique_ptr<Mischpultelement> element = mischpult.element(name);
    if (element == nullptr || !element->hatWiedergabeschalter())
        return nullptr;
    return element;
}
} // namespace

Mischpult& alsaMischpult()
{
    static AlsaMischpult mischpult;
    return mischpult;
}

bool GetMute(Mischpult& mischpult, quint32 komponententyp)
{
    const std::unique_ptr<Mischpultelement> element = schalterFinden(mischpult, komponententyp);
    if (element == nullptr)
        return false;
    // Muted means silent: a single channel that still plays (or cannot be
    // read) makes the line not muted.
    bool kanalGefunden = false;
    for (int kanal = 0; kanal <= kLetzterKanal; ++kanal) {
        if (!element->hatKanal(kanal))
            continue;
        const std::optional<bool> spielt = element->schalter(kanal);
        if (!spielt || *spielt)
            return false;
        kanalGefunden = true;
    }
    return kanalGefunden;
}

void SetMute(Mischpult& mischpult, quint32 komponententyp, bool an)
{
    const std::unique_ptr<Mischpultelement> element = schalterFinden(mischpult, komponententyp);
    if (element == nullptr)
        return;
    // Every channel: cards with a switch per channel would otherwise keep
    // playing on the others. A refused channel does not stop the rest.
    for (int kanal = 0; kanal <= kLetzterKanal; ++kanal) {
        if (element->hatKanal(kanal))
            element->schalterSetzen(kanal, !an);
    }
}

void PCStummschalten(Mischpult& mischpult)
{
    g_gemerkterZustand = GetMute(mischpult, kLautsprecher);
    SetMute(mischpult, kLautsprecher, true);
}

void PCStummschaltungZuruecksetzen(Mischpult& mischpult)
{
    SetMute(mischpult, kLautsprecher, g_gemerkterZustand);
}

bool GetMute(quint32 komponententyp)
{
    return GetMute(alsaMischpult(), komponententyp);
}

void SetMute(quint32 komponententyp, bool an)
{
    SetMute(alsaMischpult(), komponententyp, an);
}

void PCStummschalten()
{
    PCStummschalten(alsaMischpult());
}

void PCStummschaltungZuruecksetzen()
{
    PCStummschaltungZuruecksetzen(alsaMischpult());
}
