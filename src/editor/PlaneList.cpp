#include "editor/PlaneList.h"

#include "game/LevelLoader.h"
#include "game/LevelWriter.h"

PlaneList PlaneList::read(const std::string& name, const std::string& text)
{
    LevelLoader loader(LevelLoader::Text{name, text});
    PlaneList list;
    list.planes = loader.planes;
    list.notes = loader.notes;
    list.screens = loader.takeLevels();
    return list;
}

PlaneList PlaneList::of(const Plane& plane, const std::string& note)
{
    PlaneList list;
    Plane copy;
    for (int s = 0; s < Plane::screenCount; ++s) {
        list.screens.push_back(plane.levels[s] ? std::make_unique<Level>(*plane.levels[s])
                                               : std::make_unique<Level>());
        copy.levels[s] = list.screens.back().get();
    }
    list.planes.push_back(copy);
    list.notes.push_back(note);
    return list;
}

std::string PlaneList::write() const
{
    return LevelWriter::write(planes, notes);
}

void PlaneList::append(PlaneList&& other)
{
    planes.insert(planes.end(), other.planes.begin(), other.planes.end());
    notes.insert(notes.end(), other.notes.begin(), other.notes.end());
    for (std::unique_ptr<Level>& screen : other.screens)
        screens.push_back(std::move(screen));
    other = PlaneList();
}
