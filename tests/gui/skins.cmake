# Widget tests of the skins group.
