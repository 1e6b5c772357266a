// The public operation flags both engines expose. The controller sets the flag of the operation it is
// about to run and clears it after; while it is set, the operation writes its progress into the engine's
// StepCalculate.
#pragma once

#include <string>

namespace ovn {

struct OperationFlags {
  bool iSumm = false;
  bool iMinus = false;
  bool iMuch = false;
  bool iDev = false;
  bool iStep = false;
  bool iRadical = false;
  bool iFactorial = false;
  bool iLog = false;
  bool iMod = false;
  bool iGiperStep = false;
  bool iFactorDBL = false;
  bool iStepDec = false;
  bool ipNOD = false;
  bool ipNOC = false;
  bool iMultinom = false;
  bool iCountCombination = false;
  std::string iStepFS;
};

}  // namespace ovn
