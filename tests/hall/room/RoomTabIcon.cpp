// The stand-in game program of the tab icon test carries only its icon; the
// room tab window reads it as data and never runs it.
extern "C" __declspec(dllexport) int RoomTabIconMarker()
{
    return 128;
}
