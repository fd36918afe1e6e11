find_package(Qt6 QUIET COMPONENTS Test)
set(VELKOR_TEST_DEPS velkor_platform_qt velkor_platform Qt6::Test)
set(VELKOR_TEST_ENV QT_QPA_PLATFORM=offscreen)
