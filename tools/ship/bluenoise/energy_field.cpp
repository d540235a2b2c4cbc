#include "bluenoise/energy_field.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kWeightScale = 4294967296.0;  // 2^32
constexpr double kKernelReach = 4.0;           // kernel radius in sigmas

// Index of row/column i + d on a circle of n, for |d| < n.
int Wrap(int i, int n) {
  if (i < 0) return i + n;
  if (i >= n) return i - n;
  return i;
}

}  // namespace

EnergyField::EnergyField(int width, int height, std::vector<uint8_t> bits, double sigma)
    : width_(width), height_(height), sigma_(sigma), bits_(std::move(bits)) {
  energy_.assign(bits_.size(), 0);
  rowCluster_.assign(height_, -1);
  rowVoid_.assign(height_, -1);
  BuildKernel();
  Rebuild();
}

void EnergyField::SetSigma(double sigma) {
  sigma_ = sigma;
  BuildKernel();
  Rebuild();
}

void EnergyField::BuildKernel() {
  const int reach = static_cast<int>(std::ceil(kKernelReach * sigma_));
  // Offsets -lo..hi cover every torus offset at most once; an offset is weighted by its
  // distance to the nearest copy of the centre.
  loX_ = -std::min(reach, (width_ - 1) / 2);
  hiX_ = std::min(reach, width_ / 2);
  loY_ = -std::min(reach, (height_ - 1) / 2);
  hiY_ = std::min(reach, height_ / 2);
  const double twoSigmaSquared = 2.0 * sigma_ * sigma_;
  kernel_.clear();
  for (int dy = loY_; dy <= hiY_; ++dy) {
    for (int dx = loX_; dx <= hiX_; ++dx) {
      const double r2 = static_cast<double>(dx) * dx + static_cast<double>(dy) * dy;
      kernel_.push_back(std::llround(std::exp(-r2 / twoSigmaSquared) * kWeightScale));
    }
  }
}

void EnergyField::AddKernel(int index, int64_t sign) {
  const int x = index % width_;
  const int y = index / width_;
  const int64_t* weight = kernel_.data();
  for (int dy = loY_; dy <= hiY_; ++dy) {
    int64_t* row = energy_.data() + static_cast<int64_t>(Wrap(y + dy, height_)) * width_;
    int column = Wrap(x + loX_, width_);
    for (int dx = loX_; dx <= hiX_; ++dx) {
      row[column] += sign * *weight++;
      if (++column == width_) column = 0;
    }
  }
}

void EnergyField::RescanRow(int y) {
  const int begin = y * width_;
  int cluster = -1, hole = -1;
  for (int i = begin; i < begin + width_; ++i) {
    if (bits_[i]) {
      if (cluster < 0 || energy_[i] > energy_[cluster]) cluster = i;
    } else {
      if (hole < 0 || energy_[i] < energy_[hole]) hole = i;
    }
  }
  rowCluster_[y] = cluster;
  rowVoid_[y] = hole;
}

void EnergyField::Rebuild() {
  std::fill(energy_.begin(), energy_.end(), 0);
  setCount_ = 0;
  for (size_t i = 0; i < bits_.size(); ++i) {
    if (!bits_[i]) continue;
    AddKernel(static_cast<int>(i), 1);
    ++setCount_;
  }
  for (int y = 0; y < height_; ++y) RescanRow(y);
}

void EnergyField::Toggle(int index) {
  const bool wasSet = bits_[index] != 0;
  bits_[index] = wasSet ? 0 : 1;
  setCount_ += wasSet ? -1 : 1;
  AddKernel(index, wasSet ? -1 : 1);
  const int y = index / width_;
  for (int dy = loY_; dy <= hiY_; ++dy) RescanRow(Wrap(y + dy, height_));
}

int EnergyField::TightestCluster() const {
  int best = -1;
  for (int candidate : rowCluster_) {
    if (candidate >= 0 && (best < 0 || energy_[candidate] > energy_[best])) best = candidate;
  }
  return best;
}

int EnergyField::LargestVoid() const {
  int best = -1;
  for (int candidate : rowVoid_) {
    if (candidate >= 0 && (best < 0 || energy_[candidate] < energy_[best])) best = candidate;
  }
  return best;
}
