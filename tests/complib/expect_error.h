// EXPECT_RUNTIME_ERROR(statement, number): the statement raises ovn::RuntimeError with that number.
#pragma once

#include <gtest/gtest.h>

#include "ovnliblt/runtime_error.h"

#define EXPECT_RUNTIME_ERROR(statement, number)                                              \
  do {                                                                                       \
    try {                                                                                    \
      statement;                                                                             \
      ADD_FAILURE() << #statement " raised no error";                                        \
    } catch (const ovn::RuntimeError& error) {                                               \
      EXPECT_EQ(static_cast<int>(error.Number()), static_cast<int>(number)) << error.what(); \
    }                                                                                        \
  } while (false)
