namespace wendrel { int Win32Placeholder() { return 0; } }
