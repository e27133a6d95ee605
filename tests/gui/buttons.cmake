# Widget tests of the buttons group.
