#include "alsa_beeper.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <cstring>

#include "tone.h"

namespace kx::app {
namespace {

constexpr unsigned kSampleRate = 44100;
constexpr unsigned kLatencyUs = 50000;

// The same switch as the SDK's diagnostic texts: set to anything but "0".
bool DebugOutputWanted() {
  const char* value = std::getenv("KXLF_DEBUG");
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void AlsaBeeper::Beep(int frequencyHz, int durationMs) {
  const std::vector<int16_t> samples = ToneSamples(frequencyHz, durationMs, kSampleRate);
  if (samples.empty())
    return;
  // Without a sound device ALSA prints its own error lines at every beep, which an operator
  // cannot act on; they are shown only for a trace. A null handler is ALSA's own.
  snd_lib_error_set_handler(DebugOutputWanted() ? nullptr : IgnoreAlsaError);
  snd_pcm_t* pcm = nullptr;
  if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, 0) < 0)
    return;  // no sound device: the beep is silent
  if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1, kSampleRate, 1,
                         kLatencyUs) == 0) {
    size_t written = 0;
    while (written < samples.size()) {
      snd_pcm_sframes_t frames =
          snd_pcm_writei(pcm, samples.data() + written, samples.size() - written);
      if (frames < 0)
        frames = snd_pcm_recover(pcm, static_cast<int>(frames), 1);
      if (frames < 0)
        break;
      written += static_cast<size_t>(frames);
    }
    // The operator hears the whole beep before the window goes on, as with the system beep.
    snd_pcm_drain(pcm);
  }
  snd_pcm_close(pcm);
}

}  // namespace kx::app
