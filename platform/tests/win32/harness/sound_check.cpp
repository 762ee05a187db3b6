// Plays a known 16-bit stereo buffer through DirectSound and finds it again in what an output
// device recorded, for the runner's named sound devices.
//
//   sound_check list                   one line per DirectSound output: its description
//   sound_check play DESCRIPTION RATE  plays half a second at RATE Hz on that output ("" = the
//                                      default output)
//   sound_check find FILE              exit 0 when FILE holds the samples unchanged, as 16-bit
//                                      integers or as 32-bit floats (sample / 32768); says which
#include <windows.h>
// The wave format types dsound.h needs; WIN32_LEAN_AND_MEAN keeps them out of windows.h.
#include <mmsystem.h>
// After both.
#include <dsound.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/com_ptr.h"
#include "platform/win32/scoped_handles.h"

namespace {

constexpr WORD kChannels = 2;
constexpr DWORD kFrames = 22050;

// Distinct values on both channels, so a lost, doubled or swapped sample shows.
std::vector<int16_t> known_samples() {
  std::vector<int16_t> samples(kFrames * kChannels);
  uint32_t state = 12345;
  for (auto& sample : samples) {
    state = state * 1103515245u + 12345u;
    sample = static_cast<int16_t>(state >> 16);
  }
  return samples;
}

struct Output {
  std::wstring description;
  GUID guid;
  bool is_default;
};

BOOL CALLBACK collect_output(GUID* guid, const wchar_t* description, const wchar_t*,
                             void* context) {
  auto* outputs = static_cast<std::vector<Output>*>(context);
  outputs->push_back({description, guid ? *guid : GUID{}, guid == nullptr});
  return TRUE;
}

std::vector<Output> outputs() {
  std::vector<Output> found;
  DirectSoundEnumerateW(collect_output, &found);
  return found;
}

int list() {
  for (const auto& output : outputs()) {
    if (!output.is_default) {
      std::printf("%ls\n", output.description.c_str());
    }
  }
  return 0;
}

int fail(const char* what, HRESULT hr) {
  std::fprintf(stderr, "sound_check: %s failed: 0x%08lx\n", what, static_cast<unsigned long>(hr));
  return 1;
}

int play(const std::wstring& description, DWORD rate) {
  const GUID* device = nullptr;
  GUID chosen{};
  if (!description.empty()) {
    bool found = false;
    for (const auto& output : outputs()) {
      if (!output.is_default && output.description == description) {
        chosen = output.guid;
        found = true;
      }
    }
    if (!found) {
      std::fprintf(stderr, "sound_check: no output \"%ls\"\n", description.c_str());
      return 1;
    }
    device = &chosen;
  }

  platform::ComPtr<IDirectSound8> sound;
  HRESULT hr = DirectSoundCreate8(device, sound.put(), nullptr);
  if (FAILED(hr)) {
    return fail("DirectSoundCreate8", hr);
  }
  hr = sound->SetCooperativeLevel(GetDesktopWindow(), DSSCL_PRIORITY);
  if (FAILED(hr)) {
    return fail("SetCooperativeLevel", hr);
  }

  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = kChannels;
  format.nSamplesPerSec = rate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = format.nChannels * format.wBitsPerSample / 8;
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;

  const std::vector<int16_t> samples = known_samples();
  DSBUFFERDESC desc{};
  desc.dwSize = sizeof(desc);
  desc.dwFlags = DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
  desc.dwBufferBytes = static_cast<DWORD>(samples.size() * sizeof(int16_t));
  desc.lpwfxFormat = &format;
  platform::ComPtr<IDirectSoundBuffer> buffer;
  hr = sound->CreateSoundBuffer(&desc, buffer.put(), nullptr);
  if (FAILED(hr)) {
    return fail("CreateSoundBuffer", hr);
  }

  void* part1 = nullptr;
  void* part2 = nullptr;
  DWORD bytes1 = 0;
  DWORD bytes2 = 0;
  hr = buffer->Lock(0, desc.dwBufferBytes, &part1, &bytes1, &part2, &bytes2, 0);
  if (SUCCEEDED(hr)) {
    std::memcpy(part1, samples.data(), bytes1);
    buffer->Unlock(part1, bytes1, part2, bytes2);
    hr = buffer->Play(0, 0, 0);
  }
  if (SUCCEEDED(hr)) {
    // Twice the buffer's length is plenty even for a device that plays in real time.
    const DWORD deadline = GetTickCount() + 2 * 1000 * kFrames / rate + 2000;
    DWORD status = DSBSTATUS_PLAYING;
    while ((status & DSBSTATUS_PLAYING) && GetTickCount() < deadline) {
      Sleep(10);
      buffer->GetStatus(&status);
    }
    if (status & DSBSTATUS_PLAYING) {
      hr = E_FAIL;
    }
    // The mixer writes ahead of the play position: let the last part reach the device.
    Sleep(300);
  }
  return SUCCEEDED(hr) ? 0 : fail("playing", hr);
}

int find(const wchar_t* path) {
  const platform::win32::ScopedKernelHandle file(CreateFileW(
      path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) {
    std::fprintf(stderr, "sound_check: cannot open %ls\n", path);
    return 1;
  }
  std::vector<char> recorded;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) {
    recorded.insert(recorded.end(), chunk, chunk + got);
  }

  const std::string haystack(recorded.begin(), recorded.end());
  std::printf("recorded %zu bytes\n", recorded.size());
  const std::vector<int16_t> samples = known_samples();
  std::vector<float> as_float;
  for (int16_t sample : samples) {
    as_float.push_back(sample / 32768.0f);
  }
  const std::string as_s16(reinterpret_cast<const char*>(samples.data()),
                           samples.size() * sizeof(int16_t));
  const std::string as_f32(reinterpret_cast<const char*>(as_float.data()),
                           as_float.size() * sizeof(float));
  if (const size_t at = haystack.find(as_s16); at != std::string::npos) {
    std::printf("found as 16-bit integers at byte %zu\n", at);
    return 0;
  }
  if (const size_t at = haystack.find(as_f32); at != std::string::npos) {
    std::printf("found as 32-bit floats at byte %zu\n", at);
    return 0;
  }
  std::fprintf(stderr, "sound_check: the played samples are not in %ls\n", path);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"list" && argc == 2) {
    return list();
  }
  if (command == L"play" && argc == 4) {
    return play(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
  }
  if (command == L"find" && argc == 3) {
    return find(argv[2]);
  }
  std::fprintf(stderr, "usage: sound_check list | play DESCRIPTION RATE | find FILE\n");
  return 2;
}
