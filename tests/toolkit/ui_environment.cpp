// The toolkit is started once for the whole test program, on its one thread.
#include "toolkit/toolkit.h"

#include <gtest/gtest.h>

namespace {

class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { ToolkitStart(); }
    void TearDown() override { ToolkitShutdown(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

}  // namespace
