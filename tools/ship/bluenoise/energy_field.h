// The energy field of void-and-cluster: every pixel holds the sum of a Gaussian kernel centred
// on each set pixel of a binary pattern on a torus. Toggling a pixel updates the field by adding
// or subtracting one kernel, and the best set pixel and best clear pixel of every row are cached
// so that finding the tightest cluster or the largest void costs one pass over the affected rows
// and one over the rows' bests instead of a pass over the whole pattern.
//
// Energies are integers (kernel weights scaled by 2^32 and rounded), so that sums do not depend
// on the order of updates and ties break the same way on every platform: the first pixel in row
// order wins.
#ifndef KORVEL_TOOLS_BLUENOISE_ENERGY_FIELD_H
#define KORVEL_TOOLS_BLUENOISE_ENERGY_FIELD_H

#include <cstdint>
#include <vector>

class EnergyField {
 public:
  EnergyField(int width, int height, std::vector<uint8_t> bits, double sigma);

  // Rebuild the kernel for a new sigma and the field from the current pattern.
  void SetSigma(double sigma);
  double sigma() const { return sigma_; }

  // Flip one pixel of the pattern and update the field around it.
  void Toggle(int index);

  // Set pixel of highest energy, or -1 when no pixel is set.
  int TightestCluster() const;
  // Clear pixel of lowest energy, or -1 when every pixel is set.
  int LargestVoid() const;

  const std::vector<uint8_t>& bits() const { return bits_; }
  int64_t setCount() const { return setCount_; }

 private:
  void BuildKernel();
  void AddKernel(int index, int64_t sign);
  void RescanRow(int y);
  void Rebuild();

  int width_;
  int height_;
  double sigma_;
  int loX_ = 0, hiX_ = 0, loY_ = 0, hiY_ = 0;  // kernel offsets, each torus offset once
  std::vector<int64_t> kernel_;                // (hiY - loY + 1) x (hiX - loX + 1)
  std::vector<uint8_t> bits_;
  std::vector<int64_t> energy_;
  std::vector<int> rowCluster_;  // per row: set pixel of highest energy, or -1
  std::vector<int> rowVoid_;     // per row: clear pixel of lowest energy, or -1
  int64_t setCount_ = 0;
};

#endif
