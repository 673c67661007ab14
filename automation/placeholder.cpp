// (removed once the core has sources of its own)
namespace wendrel { int CorePlaceholder() { return 0; } }
