#pragma once

#include "store/engine/ProviderKind.h"

#include <gtest/gtest.h>

#include <string>

// Runs a parametrised test on both bindings:
//   INSTANTIATE_TEST_SUITE_P(Providers, MyTest, kBothProviders, ProviderName);
inline const auto kBothProviders =
    ::testing::Values(engine::ProviderKind::SqlCipher, engine::ProviderKind::PostgreSql);

inline std::string ProviderName(const ::testing::TestParamInfo<engine::ProviderKind>& info)
{
    return info.param == engine::ProviderKind::PostgreSql ? "PostgreSql" : "SqlCipher";
}
