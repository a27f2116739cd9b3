#include "system/PCStummschaltung.h"

#include <cstdarg>
#include <memory>

#include <alsa/asoundlib.h>

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

const char* elementname(quint32 komponententyp)
{
    return komponententyp == kLautsprecher ? "Master" : nullptr;
}

/// Opens the default mixer and finds the line's element with a playback
/// switch; false when any step fails. The element lives as long as `mixer`.
bool schalterFinden(quint32 komponententyp, Mixer& mixer, snd_mixer_elem_t*& element)
{
    const char* name = elementname(komponententyp);
    if (name == nullptr)
        return false;
    snd_lib_error_set_handler(alsaStill);
    snd_mixer_t* roh = nullptr;
    if (snd_mixer_open(&roh, 0) < 0)
        return false;
    mixer.reset(roh);
    if (snd_mixer_attach(roh, "default") < 0 ||
        snd_mixer_selem_register(roh, nullptr, nullptr) < 0 || snd_mixer_load(roh) < 0)
        return false;
    snd_mixer_selem_id_t* id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_selem_id_set_name(id, name);
    element = snd_mixer_find_selem(roh, id);
    return element != nullptr && snd_mixer_selem_has_playback_switch(element);
}
} // namespace

bool GetMute(quint32 komponententyp)
{
    Mixer mixer;
    snd_mixer_elem_t* element = nullptr;
    if (!schalterFinden(komponententyp, mixer, element))
        return false;
    int schalter = 1;
    if (snd_mixer_selem_get_playback_switch(element, SND_MIXER_SCHN_MONO, &schalter) < 0)
        return false;
    // The switch is "on" when sound plays, so muted means switched off.
    return schalter == 0;
}

void SetMute(quint32 komponententyp, bool an)
{
    Mixer mixer;
    snd_mixer_elem_t* element = nullptr;
    if (!schalterFinden(komponententyp, mixer, element))
        return;
    snd_mixer_selem_set_playback_switch_all(element, an ? 0 : 1);
}

void PCStummschalten()
{
    g_gemerkterZustand = GetMute(kLautsprecher);
    SetMute(kLautsprecher, true);
}

void PCStummschaltungZuruecksetzen()
{
    SetMute(kLautsprecher, g_gemerkterZustand);
}
