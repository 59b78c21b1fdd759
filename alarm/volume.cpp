// The default output's mute and level while the alarm rings, through the audio endpoint.
#include "alarm/volume.h"

#include "alarm/volume_rule.h"

#include <windows.h>

#include <endpointvolume.h>
#include <mmdeviceapi.h>

// The system's audio devices, opened once by OpenAudioDevices and kept until the process ends;
// NULL where they could not be.
static IMMDeviceEnumerator* AudioDevices;
// The endpoint a ring changed, held until the ring ends; NULL while no ring holds one.
// RingOutputMade: what the ring set on it. Both written by RaiseOutputForRing and RestoreOutputAfterRing.
static IAudioEndpointVolume* RingEndpoint;
static RingOutput RingOutputMade;

namespace {

OutputReading ReadOutput(IAudioEndpointVolume* endpoint)
{
    BOOL muted = FALSE;
    float level = 0;
    bool answered = SUCCEEDED(endpoint->GetMute(&muted)) && SUCCEEDED(endpoint->GetMasterVolumeLevelScalar(&level));
    OutputReading reading = {answered, muted != FALSE, level};
    return reading;
}

// The default at the moment of the ring: the user may have plugged in headphones since.
IAudioEndpointVolume* OpenDefaultOutput()
{
    IMMDevice* device = NULL;
    IAudioEndpointVolume* endpoint = NULL;
    if (AudioDevices == NULL || FAILED(AudioDevices->GetDefaultAudioEndpoint(eRender, eConsole, &device))) return NULL;
    device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_INPROC_SERVER, NULL, reinterpret_cast<void**>(&endpoint));
    device->Release();
    return endpoint;
}

}  // namespace

void OpenAudioDevices()
{
    // Apartment threaded: the clock has one thread, and its message loop serves COM.
    if (FAILED(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED))) return;
    CoCreateInstance(__uuidof(MMDeviceEnumerator), NULL, CLSCTX_INPROC_SERVER, __uuidof(IMMDeviceEnumerator),
                     reinterpret_cast<void**>(&AudioDevices));
}

void RaiseOutputForRing()
{
    if (RingEndpoint != NULL) return;
    IAudioEndpointVolume* endpoint = OpenDefaultOutput();
    if (endpoint == NULL) return;
    OutputReading found = ReadOutput(endpoint);
    OutputChange change = ChangeForRing(found);
    // The level first, so that the output is heard at it from the moment it is unmuted.
    bool raised = change.raise && SUCCEEDED(endpoint->SetMasterVolumeLevelScalar(RingLevel, NULL));
    bool unmuted = change.unmute && SUCCEEDED(endpoint->SetMute(FALSE, NULL));
    RingOutputMade = RingOutputOf(found, change, unmuted, raised);
    // An output the ring did not change is not held: a later start in the same ring reads it again.
    if (RingOutputMade.unmuted || RingOutputMade.raised)
        RingEndpoint = endpoint;
    else
        endpoint->Release();
}

void RestoreOutputAfterRing()
{
    if (RingEndpoint == NULL) return;
    OutputRestore restore = RestoreAfterRing(RingOutputMade, ReadOutput(RingEndpoint));
    if (restore.setLevel) RingEndpoint->SetMasterVolumeLevelScalar(restore.level, NULL);
    if (restore.mute) RingEndpoint->SetMute(TRUE, NULL);
    RingEndpoint->Release();
    RingEndpoint = NULL;
}
