#pragma once

// The master volume of the default speaker and the default microphone, as a
// level 0.0 .. 1.0. On Linux the ALSA mixer is reached through its command-line
// client "amixer" (the controls "Master" and "Capture" of the default device,
// mapped to the scale a person hears); DRAVIK_MIXER names another program with
// the same arguments. Every call runs the client afresh; nothing is cached.
// Where there is no client, no sound device or no such control, a reading is
// 0.0 and a change has no effect.
namespace platform {

enum AudioEndpoint {
    kSpeakerEndpoint = 0,
    kMicrophoneEndpoint = 1,
};

// Reads the endpoint's master volume into `level`. Returns false, leaving
// `level` alone, when there is no mixer for it.
bool ReadEndpointVolume(int endpoint, float* level);

// The endpoint's master volume, 0.0 when it cannot be read.
float GetEndpointVolume(int endpoint);

// Sets the endpoint's master volume (clamped to 0.0 .. 1.0, in whole percent);
// nothing when it cannot be set.
void SetEndpointVolume(int endpoint, double level);

}  // namespace platform
