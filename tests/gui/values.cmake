# Widget tests of the values group.
