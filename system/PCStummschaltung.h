#pragma once

#include <QtGlobal>

class Mischpult;

/// Speaker mute through the ALSA simple mixer: mixer "default", element
/// "Master", its playback switch (on PulseAudio or PipeWire desktops this
/// reaches the default output). Every operation is silent: without a mixer,
/// without "Master" or without a playback switch nothing changes and nothing
/// is reported.

/// The line type of the speakers, the master output; the only line that has
/// a mixer element here.
inline constexpr quint32 kLautsprecher = 4;

/// Remembers whether the speakers are muted, then mutes them. A state that
/// cannot be read is remembered as not muted.
void PCStummschalten();

/// Sets the speaker mute back to the state `PCStummschalten` remembered
/// (not muted when it has not been called).
void PCStummschaltungZuruecksetzen();

/// Whether the mute of the line is on; false when it cannot be read.
bool GetMute(quint32 komponententyp);

/// Switches the mute of the line on or off, all channels at once.
void SetMute(quint32 komponententyp, bool an);

/// The same on the elements of `mischpult` instead of the ALSA mixer. The
/// line counts as muted when every channel of its playback switch is off.
void PCStummschalten(Mischpult& mischpult);
void PCStummschaltungZuruecksetzen(Mischpult& mischpult);
bool GetMute(Mischpult& mischpult, quint32 komponententyp);
void SetMute(Mischpult& mischpult, quint32 komponententyp, bool an);
