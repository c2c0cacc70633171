// Field-by-field comparison of settings records for the GoogleTest programs.
#pragma once

#include "tests/support/StoredValues.h"

#include <gtest/gtest.h>

namespace kz::test {

// Expects every field of actual, except those named in except, to equal the
// same field of expected; each difference is reported by its name.
inline void ExpectSameFields(const SettingsRecord& actual, const SettingsRecord& expected,
                             const std::set<std::string>& except = {}) {
    const std::vector<NamedField> got = FieldsOf(actual);
    const std::vector<NamedField> want = FieldsOf(expected);
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (except.count(got[i].name) == 0) {
            EXPECT_EQ(got[i].value, want[i].value) << got[i].name;
        }
    }
}

}  // namespace kz::test
