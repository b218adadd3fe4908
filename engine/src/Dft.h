#pragma once

namespace halvox {

/// Length of every transform the engine takes.
inline constexpr int kDftSize = 256;
/// Bins 0 ... 128 of a real 256-point transform carry all of its information.
inline constexpr int kDftBins = kDftSize / 2 + 1;

/**
 * Magnitudes |X[k]| of the 256-point DFT of a real frame, for k = 0 ... 128 (no window is applied).
 *
 * @param frame      256 samples.
 * @param magnitudes receives 129 values.
 */
void Dft256Magnitudes(const double* frame, double* magnitudes);

/**
 * Power |X[k]|^2 of the 256-point DFT of a real frame, for k = 0 ... 128 (no window is applied).
 *
 * @param frame 256 samples.
 * @param power receives 129 values.
 */
void Dft256Power(const double* frame, double* power);

/// Sum of magnitudes[first] ... magnitudes[last], clamped to the 129 bins.
double SumBins(const double* magnitudes, int first, int last);

} // namespace halvox
