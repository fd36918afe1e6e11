# The main window opens the windows of every folder: it sits above them all.
set(VELKOR_DEPS_shell velkor_catalog velkor_elements velkor_results velkor_state velkor_records velkor_platform)
