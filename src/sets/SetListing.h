#pragma once
// The parts of a set that lie beside its first one, from one listing of its folder.

#include <string>
#include <vector>

struct ListedPart {
    std::wstring path;
    double size; // bytes, as the listing found them
};

// The parts beside `path` that follow it, in number order, when `path` is a file and
// the lowest-numbered part of its set in its folder; empty otherwise. A part numbered
// 0 (some splitters write a small header there) never follows: it is a part only
// when it is the one given, and then the set starts with it.
std::vector<ListedPart> FollowingParts(const std::wstring& path);
