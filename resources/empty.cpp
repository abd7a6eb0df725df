// Lets a target hold only generated or resource sources.
