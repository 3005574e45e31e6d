// Keeps the window library non-empty until its first window lands.
namespace qpx::ui {
int UiLibraryMarker() {
    return 0;
}
} // namespace qpx::ui
