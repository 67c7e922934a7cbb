// One QApplication for every test of the program, created before the first test and
// destroyed after the last.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class GuiTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_app = new QApplication(m_argc, m_argv); }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    int m_argc = 1;
    char m_name[16] = "tavimo_tests";
    char* m_argv[2] = {m_name, nullptr};
    QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new GuiTestEnvironment);

} // namespace
