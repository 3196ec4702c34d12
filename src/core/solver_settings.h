#pragma once
// The solver choice and parameters of the CALCUL menu. The choice and the
// progress flag live for the whole run; the three numbers are reset to their
// defaults on every entry into the menu.
#include <cstdint>

namespace tambri {

inline constexpr int kSolverIluBicg = 1;
inline constexpr int kSolverIluCg = 2;
inline constexpr int kSolverSlor = 3;
inline constexpr int kSolverSor = 4;

inline constexpr int kIterationLimitDefault = 500;
inline constexpr double kOmegaDefault = static_cast<double>(1.55f);
inline constexpr double kRelativeErrorDefault = 1.0E-6;

struct SolverSettings {
  int solver = kSolverIluBicg;
  bool show_progress = false;
  int iteration_limit = kIterationLimitDefault;
  double omega = kOmegaDefault;
  double relative_error = kRelativeErrorDefault;

  void reset_parameters() {
    iteration_limit = kIterationLimitDefault;
    omega = kOmegaDefault;
    relative_error = kRelativeErrorDefault;
  }
};

}  // namespace tambri
