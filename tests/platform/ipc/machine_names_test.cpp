#include "platform/ipc/machine_names.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// CTest gives every test executable its own namespace; names must carry it.
TEST(MachineNames, CarryTheNamespaceOfTheEnvironment) {
    const char* value = std::getenv("ZORTA_NAMESPACE");
    ASSERT_NE(value, nullptr) << "tests run under a namespace of their own";
    EXPECT_EQ(platform::machineNamespace(), value);
    EXPECT_EQ(platform::machineName("vb_mutex"), std::string(value) + "vb_mutex");
}
