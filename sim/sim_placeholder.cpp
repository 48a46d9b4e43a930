// Replaced by the simulated host.
namespace ostrel {
int simPlaceholder() { return 0; }
}  // namespace ostrel
