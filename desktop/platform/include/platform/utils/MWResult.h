// Result codes of the utilities library: 0 is success, negative values are failures.
#pragma once

enum MWResult : int {
  MW_OK = 0,
  MW_FAILED = -1,
  MW_WRONG_STATE = -3,
  MW_NOT_IMPEMENTED = -7,
};
