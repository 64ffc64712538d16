#include "model/defaults.h"

#include <algorithm>

namespace velmark {

void CopyDefaultImage(ParamImage& img) {
  std::copy(DefaultImage.begin(), DefaultImage.end(), img.begin() + kParamAreaStart);
}

}  // namespace velmark
