set(VELKOR_TEST_DEPS velkor_platform)
