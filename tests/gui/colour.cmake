# Widget tests of the colour group.
