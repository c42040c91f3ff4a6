#pragma once

// The one audio format of the headset: 8000 samples per second, 16-bit signed
// little-endian, mono (G.711's rate, so no resampling is needed).
namespace AudioFormat {
inline constexpr int SampleRate = 8000;
inline constexpr int BytesPerSample = 2;
inline constexpr int BytesPerSecond = SampleRate * BytesPerSample;
// A device index that stands for the system's default device.
inline constexpr int DefaultDevice = -1;
} // namespace AudioFormat
